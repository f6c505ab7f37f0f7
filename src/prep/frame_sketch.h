#pragma once
// The frame a job's tables describe, read as they stand (half-entered rows
// included), with the faults found at the rows that cause them. The
// data-preparation window draws it beside the grids and marks those rows.

#include "model/frame_sketch.h"
#include "prep/job_database.h"

namespace tarvel {

// Reads POINT, BEAM, COLUMN, BARSEC, CONCRATE, the three load tables and
// SEISMIC2. Throws JobDatabaseError.
FrameSketch sketchJob(const JobDatabase& db);

}  // namespace tarvel
