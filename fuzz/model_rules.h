#pragma once
// The frame model a data file reads into, and the comparison of two models
// for the readers that claim a file written by the program "reads as" its
// source. Numbers are printed with seven significant digits, so a value may
// come back one or two units of the last place away.

#include <cmath>
#include <memory>

#include "fuzz_support.h"
#include "model/data_file.h"
#include "model/frame_model.h"
#include "model/frame_reader.h"

namespace tarvel::fuzz {

// The model of the file at `path`, read as the analysis reads it; nullptr
// when it does not read.
inline std::unique_ptr<FrameModel> readModel(const std::string& path) {
    TranscriptHost host;
    DataFile file(host, path);
    if (!file.load()) return nullptr;
    auto model = std::make_unique<FrameModel>();
    if (INDATA(file, *model, host, ReaderOptions::analysis()) != ReadStatus::Ok) return nullptr;
    return model;
}

template <typename T>
bool closeTables(const T& a, const T& b) {
    for (std::size_t i = 0; i < a.values().size(); ++i) {
        const float x = a.values()[i];
        const float y = b.values()[i];
        if (x == y) continue;
        if (!(std::fabs(x - y) <= 2e-6f * std::fmax(std::fabs(x), std::fabs(y)))) {
            std::fprintf(stderr, "models differ at %zu: %.9g and %.9g\n", i, static_cast<double>(x),
                         static_cast<double>(y));
            return false;
        }
    }
    return true;
}

inline bool sameModel(const FrameModel& a, const FrameModel& b) {
    return a.NJ == b.NJ && a.NB == b.NB && a.NC == b.NC && a.NE == b.NE && a.NSEC == b.NSEC &&
           a.NCON == b.NCON && a.KW == b.KW && a.NLEV == b.NLEV && closeTables(a.XY, b.XY) &&
           closeTables(a.JD, b.JD) && closeTables(a.SEC, b.SEC) && closeTables(a.GRADE, b.GRADE) &&
           closeTables(a.FC, b.FC) && closeTables(a.EC, b.EC) && closeTables(a.MEM, b.MEM) &&
           closeTables(a.ALFC, b.ALFC) && closeTables(a.LEVN, b.LEVN) && closeTables(a.LEVY, b.LEVY);
}

}  // namespace tarvel::fuzz
