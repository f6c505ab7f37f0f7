#pragma once
// Small input files for the drawing tests, written by hand, and a drawing
// window whose working folder is a fresh temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "drawing/drawing_window.h"
#include "drawing/dxf_probe.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel::testing {

// Segments shared by the frames below.
inline std::string sectionsAndConcrete(const std::string& grade = "30") {
    return "BAR-SEC\r\n .25  .5 \r\n .4  .4 \r\n\r\n"
           "CONCRATE\r\n " +
           grade + " \r\n\r\n";
}

// A portal: beam 1 from node 1 (0, 3) to node 2 (6, 3), columns from the
// fixed nodes 3 (0, 0) and 4 (6, 0); `loads` adds load segments.
inline std::string portalFile(const std::string& loads) {
    return "WEIGHT\r\n 0 \r\n\r\n" + sectionsAndConcrete() +
           "POINT\r\n"
           " 1  1  2  3  0  3 \r\n"
           " 2  1  4  5  6  3 \r\n"
           " 3  0  0  0  0  0 \r\n"
           " 4  0  0  0  6  0 \r\n\r\n"
           "BEAM\r\n 1  2  1  1 \r\n\r\n"
           "COLUMN\r\n 3  1  2  1  0 \r\n 4  2  2  1  0 \r\n\r\n" +
           loads;
}

// Two bays of 6 m and 4.5 m, two storeys of 4.2 m and 3.3 m. Node 1 fixed,
// node 2 pinned, node 3 held horizontally and against rotation (no symbol).
inline std::string twoBayFrameFile() {
    return sectionsAndConcrete() +
           "POINT\r\n"
           " 1  0  0  0  0  0 \r\n"
           " 2  0  0  1  6  0 \r\n"
           " 3  0  2  0  10.5  0 \r\n"
           " 4  3  4  5  0  4.2 \r\n"
           " 5  3  6  7  6  4.2 \r\n"
           " 6  3  8  9  10.5  4.2 \r\n"
           " 7  10  11  12  0  7.5 \r\n"
           " 8  10  13  14  6  7.5 \r\n"
           " 9  10  15  16  10.5  7.5 \r\n\r\n"
           "BEAM\r\n 4  5  1  1 \r\n 5  6  1  1 \r\n 7  8  1  1 \r\n 8  9  1  1 \r\n\r\n"
           "COLUMN\r\n 1  4  2  1  0 \r\n 2  5  2  1  0 \r\n 3  6  2  1  0 \r\n"
           " 4  7  2  1  0 \r\n 5  8  2  1  0 \r\n 6  9  2  1  0 \r\n\r\n"
           "DLOAD\r\n 1  2  20  0 -1 \r\n\r\n";
}

class DrawingTest : public ::testing::Test {
  protected:
    DrawingTest() { window.selectFolder(dir.path().string()); }

    std::string write(const std::string& name, const std::string& bytes) {
        return dir.write(name, bytes);
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir.file(name)); }
    // Only the input files are left: nothing else was written.
    int fileCount() const {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            (void)entry;
            ++n;
        }
        return n;
    }
    bool logged(const std::string& line) const {
        for (const std::string& l : host.logLines) {
            if (l == line) return true;
        }
        return false;
    }

    TempDir dir;
    RecordingHost host;
    DrawingWindow window{host};
};

}  // namespace tarvel::testing
