#pragma once
// Design strengths and moduli of the concrete grades C15..C80.

#include <cstdint>
#include <span>

namespace tarvel {

struct ConcreteRow {
    std::int16_t grade;  // number after "C"
    float fc;            // design compressive strength fc = fcm, N/mm²
    float ft;            // design tensile strength ft, N/mm²
    float ec;            // elastic modulus Ec, kN/m²
};

// All fourteen grades C15..C80 known to the analysis.
std::span<const ConcreteRow> analysisConcreteTable();
// The drawing window knows only C15..C60.
std::span<const ConcreteRow> drawingConcreteTable();

}  // namespace tarvel
