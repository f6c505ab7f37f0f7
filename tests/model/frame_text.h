#pragma once
// Small frame data files written the way the generator writes them.

#include <string>

namespace tarvel::testing {

// A one-bay, one-storey portal: nodes 1, 2 fixed at the base, 3 and 4 at
// 3.6 m sharing the horizontal code 1; one beam, two columns.
inline std::string portalSegments() {
    return "BAR-SEC\r\n .25  .5 \r\n .4  .4 \r\n\r\n"
           "CONCRATE\r\n 30 \r\n\r\n"
           "POINT\r\n"
           " 1  0  0  0  0  0 \r\n"
           " 2  0  0  0  6  0 \r\n"
           " 3  1  2  3  0  3.6 \r\n"
           " 4  1  4  5  6  3.6 \r\n\r\n"
           "BEAM\r\n 3  4  1  1 \r\n\r\n"
           "COLUMN\r\n 1  3  2  1  0 \r\n 2  4  2  1  0 \r\n\r\n"
           "DLOAD\r\n 1  2  20  0 -1 \r\n\r\n";
}

}  // namespace tarvel::testing
