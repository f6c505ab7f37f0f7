#include "prep/regular_frame.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "common/limits.h"

namespace tarvel {

namespace {

struct Layout {
    int lines = 0;   // column lines
    int levels = 0;  // floors above the base
    int node(int level, int line) const { return level * lines + line + 1; }
};

// The equation codes of every node, numbered as the header describes.
std::vector<std::array<int, 3>> equationCodes(const RegularFrame& f, const Layout& g) {
    std::vector<std::array<int, 3>> codes(static_cast<std::size_t>(g.lines * (g.levels + 1)));
    int next = 1;
    for (int line = 0; line < g.lines; ++line) {  // the bases
        auto& c = codes[static_cast<std::size_t>(g.node(0, line) - 1)];
        c = {0, 0, f.fixedBases ? 0 : next++};
    }
    for (int level = 1; level <= g.levels; ++level) {
        const int floorCode = f.rigidFloors ? next++ : 0;
        for (int line = 0; line < g.lines; ++line) {
            auto& c = codes[static_cast<std::size_t>(g.node(level, line) - 1)];
            c[0] = f.rigidFloors ? floorCode : next++;
            c[1] = next++;
            c[2] = next++;
        }
    }
    return codes;
}

bool validGrade(int grade) { return grade >= 15 && grade <= 80 && grade % 5 == 0; }

Row numbers(std::initializer_list<double> values) {
    Row row;
    for (double v : values) row.push_back(Cell::of(v));
    return row;
}

}  // namespace

std::string regularFrameProblem(const RegularFrame& f) {
    namespace t = regular_frame_text;
    if (f.spans.empty()) return t::kNoBay;
    if (f.heights.empty()) return t::kNoStorey;
    for (double s : f.spans) {
        if (!(s > 0.0)) return t::kBadSpan;
    }
    for (double h : f.heights) {
        if (!(h > 0.0)) return t::kBadHeight;
    }
    if (!(f.columnB > 0.0 && f.columnH > 0.0 && f.beamB > 0.0 && f.beamH > 0.0)) return t::kBadSection;
    if (!validGrade(f.columnGrade) || !validGrade(f.beamGrade)) return t::kBadGrade;
    if (f.windForces.size() > f.heights.size()) return t::kTooManyWinds;
    const long lines = static_cast<long>(f.spans.size()) + 1;
    const long levels = static_cast<long>(f.heights.size());
    const long nodes = lines * (levels + 1);
    const long beams = (lines - 1) * levels;
    const long columns = lines * levels;
    if (nodes > limits::kMaxNodes || beams > limits::kMaxBeams || columns > limits::kMaxColumns ||
        beams + columns > limits::kMaxForceMembers || levels > limits::kMaxLevels) {
        return t::kTooLarge;
    }
    // The band store of the stiffness matrix: equations times half band.
    const Layout g{static_cast<int>(lines), static_cast<int>(levels)};
    const auto codes = equationCodes(f, g);
    int equations = 0;
    for (const auto& c : codes) equations = std::max({equations, c[0], c[1], c[2]});
    int band = 0;
    auto member = [&](int i, int j) {
        int lo = 1 << 30, hi = 0;
        for (int n : {i, j}) {
            for (int code : codes[static_cast<std::size_t>(n - 1)]) {
                if (code == 0) continue;
                lo = std::min(lo, code);
                hi = std::max(hi, code);
            }
        }
        if (hi > 0) band = std::max(band, hi - lo + 1);
    };
    for (int level = 1; level <= g.levels; ++level) {
        for (int line = 0; line < g.lines; ++line) {
            member(g.node(level - 1, line), g.node(level, line));
            if (line + 1 < g.lines) member(g.node(level, line), g.node(level, line + 1));
        }
    }
    if (equations > limits::kMaxCode ||
        static_cast<long>(equations) * band > limits::kMaxStiffnessEntries) {
        return t::kTooLarge;
    }
    return {};
}

std::vector<JobDatabase::TableContent> regularFrameTables(const RegularFrame& f) {
    const Layout g{static_cast<int>(f.spans.size()) + 1, static_cast<int>(f.heights.size())};
    std::vector<double> x(static_cast<std::size_t>(g.lines), 0.0);
    for (std::size_t b = 0; b < f.spans.size(); ++b) x[b + 1] = x[b] + f.spans[b];
    std::vector<double> y(static_cast<std::size_t>(g.levels) + 1, 0.0);
    for (std::size_t s = 0; s < f.heights.size(); ++s) y[s + 1] = y[s] + f.heights[s];
    // Coordinates are stored as the Single the data file will carry.
    auto single = [](double v) { return static_cast<double>(static_cast<float>(v)); };

    std::vector<Row> weight{numbers({f.selfWeight ? 1.0 : 0.0})};
    std::vector<Row> stiffness{numbers({1.0, 1.0})};
    std::vector<Row> sections{numbers({single(f.columnB), single(f.columnH)}),
                              numbers({single(f.beamB), single(f.beamH)})};
    std::vector<Row> concretes{numbers({static_cast<double>(f.columnGrade)}),
                               numbers({static_cast<double>(f.beamGrade)})};
    std::vector<Row> points;
    const auto codes = equationCodes(f, g);
    for (int level = 0; level <= g.levels; ++level) {
        for (int line = 0; line < g.lines; ++line) {
            const int n = g.node(level, line);
            const auto& c = codes[static_cast<std::size_t>(n - 1)];
            points.push_back(numbers({static_cast<double>(n), static_cast<double>(c[0]),
                                      static_cast<double>(c[1]), static_cast<double>(c[2]),
                                      single(x[static_cast<std::size_t>(line)]),
                                      single(y[static_cast<std::size_t>(level)])}));
        }
    }
    std::vector<Row> beams, columns, dead, live, wind;
    for (int level = 1; level <= g.levels; ++level) {
        for (int bay = 0; bay + 1 < g.lines; ++bay) {
            beams.push_back(numbers({static_cast<double>(g.node(level, bay)),
                                     static_cast<double>(g.node(level, bay + 1)), 2.0, 2.0}));
            const double beam = static_cast<double>(beams.size());
            const double span = single(f.spans[static_cast<std::size_t>(bay)]);
            if (f.deadLoad != 0.0) dead.push_back(numbers({beam, 2.0, single(f.deadLoad), 0.0, span}));
            if (f.liveLoad != 0.0) live.push_back(numbers({beam, 2.0, single(f.liveLoad), 0.0, span}));
        }
    }
    const int beamCount = static_cast<int>(beams.size());
    for (int level = 1; level <= g.levels; ++level) {
        for (int line = 0; line < g.lines; ++line) {
            columns.push_back(numbers({static_cast<double>(g.node(level - 1, line)),
                                       static_cast<double>(g.node(level, line)), 1.0, 1.0, 0.0}));
        }
    }
    // The dead-load segment must be there for a run: without a load of its
    // own the frame carries a zero load on its first beam.
    if (dead.empty()) {
        dead.push_back(numbers({1.0, 2.0, 0.0, 0.0, single(f.spans[0])}));
    }
    // A floor's wind force acts at the top of its left column: a force across
    // the column (type 1) at its full height, which goes straight to the node.
    for (std::size_t k = 0; k < f.windForces.size(); ++k) {
        if (f.windForces[k] == 0.0) continue;
        const int column = beamCount + static_cast<int>(k) * g.lines + 1;
        wind.push_back(numbers({static_cast<double>(column), 1.0, single(f.windForces[k]),
                                single(f.heights[k]), 0.0}));
    }

    namespace jt = job_table;
    std::vector<JobDatabase::TableContent> content;
    content.emplace_back(&jobTable(jt::kWeight), std::move(weight));
    content.emplace_back(&jobTable(jt::kStiffness), std::move(stiffness));
    content.emplace_back(&jobTable(jt::kBarSec), std::move(sections));
    content.emplace_back(&jobTable(jt::kConcrate), std::move(concretes));
    content.emplace_back(&jobTable(jt::kPoint), std::move(points));
    content.emplace_back(&jobTable(jt::kBeam), std::move(beams));
    content.emplace_back(&jobTable(jt::kColumn), std::move(columns));
    content.emplace_back(&jobTable(jt::kDLoad), std::move(dead));
    content.emplace_back(&jobTable(jt::kLLoad), std::move(live));
    content.emplace_back(&jobTable(jt::kWLoad), std::move(wind));
    content.emplace_back(&jobTable(jt::kSeismic1), std::vector<Row>{});
    content.emplace_back(&jobTable(jt::kSeismic2), std::vector<Row>{});
    return content;
}

void fillRegularFrame(JobDatabase& db, const RegularFrame& frame) {
    const std::string problem = regularFrameProblem(frame);
    if (!problem.empty()) throw std::invalid_argument(problem);
    const auto content = regularFrameTables(frame);
    db.replaceContent(content);
}

}  // namespace tarvel
