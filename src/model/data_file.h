#pragma once
// The frame data file opened for list-directed reading, with the segment
// finder `FINDSEG`. The file is read into memory once; every search starts
// again from its top, so segments may come in any order.

#include <string>
#include <string_view>

#include "common/host.h"
#include "common/list_input.h"

namespace tarvel {

// How `FINDSEG` treats a segment that is not found.
enum SegmentMode : int {
    kMandatory = 0,  // fatal: two log lines, the caller stops
    kOptional = 1,   // notice in the run log
    kSilent = 2,     // nothing
};

class DataFile {
public:
    DataFile(Host& host, std::string path);

    const std::string& path() const { return path_; }
    // Loads the file; false (nothing reported) when it cannot be read.
    bool load();
    bool loaded() const { return loaded_; }

    // Positions the input on the value after the marker of `name`.
    // Returns 0 when found, 1 when not found (the file is then closed).
    int FINDSEG(std::string_view name, int mode);

    bool isOpen() const { return open_; }
    void close() { open_ = false; }
    ListReader& in() { return reader_; }

private:
    Host& host_;
    std::string path_;
    ListReader reader_;
    bool loaded_ = false;
    bool open_ = false;
};

}  // namespace tarvel
