#pragma once
// `PBC`: the size pre-check of the run. Counts the record lines of POINT,
// BEAM and COLUMN before anything is read, and refuses a frame with more
// than 220 nodes, 190 beams or 210 columns.

#include "common/host.h"
#include "model/data_file.h"

namespace tarvel {

struct SizeCount {
    int nodes = 0;
    int beams = 0;
    int columns = 0;
};

// Record lines after the marker of `segment`, up to the end of the file, an
// empty line or a line whose first value is 0. A missing segment counts 0.
int countRecordLines(DataFile& file, const char* segment);

// Returns true when the frame is within the limits ("N"); false after the
// over-limit message ("Y").
bool PBC(DataFile& file, Host& host, SizeCount* count = nullptr);

}  // namespace tarvel
