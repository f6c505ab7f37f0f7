#include "prep/frame_sketch.h"

#include <cmath>
#include <cstdio>

namespace tarvel {

namespace {

// A cell as the data file would carry it: empty or text counts as 0.
double number(const Row& row, int column) {
    if (column < 0 || column >= static_cast<int>(row.size())) return 0.0;
    const Cell& c = row[static_cast<std::size_t>(column)];
    return c.kind == Cell::Kind::Number ? c.number : 0.0;
}

int whole(const Row& row, int column) {
    const double v = number(row, column);
    if (!(std::fabs(v) < 1e9)) return 0;
    return static_cast<int>(std::nearbyint(v));
}

std::string format(const char* pattern, int a, int b = 0) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, a, b);
    return buffer;
}

int nodeIndex(const std::vector<SketchNode>& nodes, int number) {
    int found = -1;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].number == number) found = static_cast<int>(i);
    }
    return found;
}

}  // namespace

FrameSketch sketchJob(const JobDatabase& db) {
    FrameSketch s;
    const int sections = static_cast<int>(db.rows(jobTable(job_table::kBarSec)).size());
    const int concretes = static_cast<int>(db.rows(jobTable(job_table::kConcrate)).size());

    const JobTable& point = jobTable(job_table::kPoint);
    int r = 0;
    for (const StoredRow& row : db.rows(point)) {
        SketchNode n;
        n.row = r++;
        n.number = whole(row.cells, 0);
        for (int k = 0; k < 3; ++k) n.codes[k] = whole(row.cells, 1 + k);
        n.x = number(row.cells, 4);
        n.y = number(row.cells, 5);
        s.nodes.push_back(n);
    }

    for (const std::string_view name : {job_table::kBeam, job_table::kColumn}) {
        const bool column = name == job_table::kColumn;
        const char* kind = column ? "柱单元" : "梁单元";
        r = 0;
        for (const StoredRow& row : db.rows(jobTable(name))) {
            SketchMember m;
            m.column = column;
            m.row = r++;
            m.number = static_cast<int>(s.members.size()) + 1;
            m.start = whole(row.cells, 0);
            m.end = whole(row.cells, 1);
            m.section = whole(row.cells, 2);
            m.concrete = whole(row.cells, 3);
            m.startIndex = nodeIndex(s.nodes, m.start);
            m.endIndex = nodeIndex(s.nodes, m.end);
            m.badSection = m.section < 1 || m.section > sections;
            m.badConcrete = m.concrete < 1 || m.concrete > concretes;
            const std::string where = std::string(kind) + format("第 %d 行（杆件 %d）：", m.row + 1, m.number);
            if (m.startIndex < 0) {
                s.problems.push_back({std::string(name), m.row,
                                      where + format("始端节点 %d 不存在", m.start)});
            }
            if (m.endIndex < 0) {
                s.problems.push_back({std::string(name), m.row,
                                      where + format("末端节点 %d 不存在", m.end)});
            }
            if (m.badSection) {
                s.problems.push_back({std::string(name), m.row,
                                      where + format("截面号 %d 超出范围（共 %d 个截面）",
                                                     m.section, sections)});
            }
            if (m.badConcrete) {
                s.problems.push_back({std::string(name), m.row,
                                      where + format("混凝土号 %d 超出范围（共 %d 个强度等级）",
                                                     m.concrete, concretes)});
            }
            s.members.push_back(m);
        }
    }

    const struct {
        std::string_view table;
        SketchLoadCase loadCase;
    } loadTables[] = {{job_table::kDLoad, SketchLoadCase::Dead},
                      {job_table::kLLoad, SketchLoadCase::Live},
                      {job_table::kWLoad, SketchLoadCase::Wind}};
    for (const auto& t : loadTables) {
        r = 0;
        for (const StoredRow& row : db.rows(jobTable(t.table))) {
            SketchLoad l;
            l.loadCase = t.loadCase;
            l.row = r++;
            l.member = whole(row.cells, 0);
            l.type = whole(row.cells, 1);
            l.q = number(row.cells, 2);
            l.a = number(row.cells, 3);
            l.b = number(row.cells, 4);
            if (!s.member(l.member)) {
                s.problems.push_back({std::string(t.table), l.row,
                                      format("荷载第 %d 行：杆件 %d 不存在", l.row + 1, l.member)});
            }
            s.loads.push_back(l);
        }
    }

    // A mass record opens at a row with its value count NRN; the node of
    // that row carries the mass, and the last value of the record (AWi of
    // its last row) is the additional weight.
    r = 0;
    for (const StoredRow& row : db.rows(jobTable(job_table::kSeismic2))) {
        const int here = r++;
        const bool opens = !row.cells[0].isEmpty();
        if (opens || s.masses.empty()) {
            SketchMass m;
            m.row = here;
            m.node = whole(row.cells, 1);
            const int index = nodeIndex(s.nodes, m.node);
            if (index < 0) {
                m.faulty = true;
                s.problems.push_back({std::string(job_table::kSeismic2), here,
                                      format("质量第 %d 行：节点 %d 不存在", here + 1, m.node)});
            } else if (s.nodes[static_cast<std::size_t>(index)].codes[0] == 0) {
                m.faulty = true;
                s.problems.push_back({std::string(job_table::kSeismic2), here,
                                      format("质量第 %d 行：节点 %d 没有水平位移编码", here + 1,
                                             m.node)});
            }
            s.masses.push_back(m);
        }
        if (!row.cells[2].isEmpty()) s.masses.back().weight = number(row.cells, 2);
    }
    return s;
}

}  // namespace tarvel
