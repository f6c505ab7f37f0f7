#pragma once
// The frame as the job tables describe it while they are being entered:
// nodes, members and loads taken row by row, each remembered with the row it
// came from, and the faults a reader of the data file would stumble on
// (a member naming a node that is not there, a section or concrete number
// outside the tables, a mass on a node that cannot sway). Unlike the frame
// model it keeps whatever is half entered, so that it can be drawn and its
// faults shown at the rows that cause them.

#include <cstddef>
#include <string>
#include <vector>

namespace tarvel {

struct SketchNode {
    int row = 0;     // 0-based row of POINT
    int number = 0;  // IPi
    int codes[3] = {0, 0, 0};  // IXi, IYi, IFi: 0 = restrained
    double x = 0.0, y = 0.0;
};

struct SketchMember {
    bool column = false;
    int row = 0;     // 0-based row of BEAM or COLUMN
    int number = 0;  // member number: beams 1..NB, then the columns
    int start = 0, end = 0;        // node numbers
    int section = 0, concrete = 0;
    int startIndex = -1;  // index into the nodes; -1 when no node has that number
    int endIndex = -1;
    bool badSection = false;   // outside 1..number of BARSEC rows
    bool badConcrete = false;  // outside 1..number of CONCRATE rows
    bool faulty() const { return startIndex < 0 || endIndex < 0 || badSection || badConcrete; }
};

enum class SketchLoadCase { Dead, Live, Wind };

struct SketchLoad {
    SketchLoadCase loadCase = SketchLoadCase::Dead;
    int row = 0;
    int member = 0;  // IBARi
    int type = 0;    // ICi
    double q = 0.0, a = 0.0, b = 0.0;
};

struct SketchMass {
    int row = 0;       // the SEISMIC2 row that opens the mass record
    int node = 0;      // the node that carries it
    double weight = 0.0;  // additional weight, kN (0 when not entered yet)
    bool faulty = false;  // no such node, or its horizontal code is 0
};

// A fault and the row that causes it.
struct SketchProblem {
    std::string table;  // "BEAM", "COLUMN", "DLOAD", ..., "SEISMIC2"
    int row = 0;        // 0-based
    std::string text;   // in the engineer's words
};

struct FrameSketch {
    // Nodes in row order. A node number given twice counts with its last row.
    std::vector<SketchNode> nodes;
    std::vector<SketchMember> members;  // beams, then columns
    std::vector<SketchLoad> loads;
    std::vector<SketchMass> masses;
    std::vector<SketchProblem> problems;

    const SketchNode* node(int number) const {
        const SketchNode* found = nullptr;
        for (const SketchNode& n : nodes) {
            if (n.number == number) found = &n;
        }
        return found;
    }
    const SketchMember* member(int number) const {
        if (number < 1 || number > static_cast<int>(members.size())) return nullptr;
        return &members[static_cast<std::size_t>(number - 1)];
    }
};

}  // namespace tarvel
