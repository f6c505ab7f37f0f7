#include "model/concrete_table.h"

#include <array>

namespace tarvel {

namespace {
constexpr std::array<ConcreteRow, 14> kConcretes{{
    {15, 7.2f, 0.91f, 2.20E7f},
    {20, 9.6f, 1.10f, 2.55E7f},
    {25, 11.9f, 1.27f, 2.80E7f},
    {30, 14.3f, 1.43f, 3.00E7f},
    {35, 16.7f, 1.57f, 3.15E7f},
    {40, 19.1f, 1.71f, 3.25E7f},
    {45, 21.1f, 1.80f, 3.35E7f},
    {50, 23.1f, 1.89f, 3.45E7f},
    {55, 25.3f, 1.96f, 3.55E7f},
    {60, 27.5f, 2.04f, 3.60E7f},
    {65, 29.7f, 2.09f, 3.65E7f},
    {70, 31.8f, 2.14f, 3.70E7f},
    {75, 33.8f, 2.18f, 3.75E7f},
    {80, 35.9f, 2.22f, 3.80E7f},
}};
}  // namespace

std::span<const ConcreteRow> analysisConcreteTable() { return kConcretes; }
std::span<const ConcreteRow> drawingConcreteTable() { return std::span(kConcretes).first(10); }

}  // namespace tarvel
