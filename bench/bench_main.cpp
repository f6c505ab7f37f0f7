// Placeholder benchmark: reading the bundled example frame.
#include <benchmark/benchmark.h>
