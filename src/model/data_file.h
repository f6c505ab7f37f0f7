#pragma once
// The frame data file opened for list-directed reading, with the segment
// finder `FINDSEG`. The file is read into memory once; every search starts
// again from its top, so segments may come in any order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/host.h"
#include "common/list_input.h"

namespace tarvel {

// How `FINDSEG` treats a segment that is not found.
enum SegmentMode : int {
    kMandatory = 0,  // fatal: two log lines, the caller stops
    kOptional = 1,   // notice in the run log
    kSilent = 2,     // nothing
};

// The segment markers a data file may hold.
inline constexpr std::string_view kSegmentNames[] = {
    "WEIGHT", "STIFFNESS", "BAR-SEC", "CONCRATE", "POINT", "BEAM",
    "COLUMN", "DLOAD",     "LLOAD",   "WLOAD",    "SEISMIC"};

// True when `text`, trimmed and upper-cased, is one of the segment markers.
bool isSegmentName(std::string_view text);

// The blank-separated words of an item. The look for values left behind
// after a segment's closing record takes an item for numbers only when every
// word of it is one.
std::vector<std::string_view> wordsOf(std::string_view item);

// A value left behind after a segment's closing record.
struct StrayValue {
    std::string text;  // the item as written
    int line = 0;      // its line in the file
};

// A line that looks like a segment marker but is none (a misspelling).
struct SegmentLookalike {
    std::string text;     // the line, trimmed
    int line = 0;
    std::string nearest;  // the marker it most resembles
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

    // After the closing record of a segment: the first non-zero number that
    // follows, on the same line or on a later one, before the next segment
    // marker (or a line that looks like one, see segmentNameLookalikes).
    // Free-format reading would make it the first value of a record
    // that is never read, so what follows it would silently be lost. Zeros
    // (a closing record written in full) and lines of text are allowed.
    std::optional<StrayValue> strayValueAfterSegment();

    // Lines of a single word of letters (and '-') that are not a marker but
    // differ from one by at most two letters: what follows them is never
    // read as the segment the user meant.
    std::vector<SegmentLookalike> segmentNameLookalikes() const;

    bool isOpen() const { return open_; }
    void close() { open_ = false; }
    ListReader& in() { return reader_; }

private:
    Host& host_;
    std::string path_;
    ListReader reader_;
    bool loaded_ = false;
    bool open_ = false;

    // The items that may be a marker (those that begin with a letter), each
    // trimmed and in capitals with the place after it, in file order, as far
    // as the searches so far have read: a search reads the file only once.
    struct MarkerItem {
        std::string upper;
        ListReader::Mark after;
    };
    std::vector<MarkerItem> markers_;
    ListReader::Mark searchedTo_;  // the items before it are in markers_
    bool searchedAll_ = false;
};

}  // namespace tarvel
