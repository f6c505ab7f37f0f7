// tarvel-cli model: reads a data file the way the analysis reads it and shows
// the frame model, as text or as JSON.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/json_writer.h"
#include "common/printed_number.h"
#include "model/concrete_table.h"
#include "model/data_file.h"
#include "model/frame_reader.h"
#include "model/size_precheck.h"

namespace tarvel::cli {

namespace {

constexpr const char* kHelp =
    "usage: tarvel-cli model FILE.TVL [--json]\n"
    "\n"
    "Reads the frame data file as the analysis reads it (size pre-check, then the\n"
    "structural segments) and prints the run-log lines and the frame model:\n"
    "counts, sections, concretes with fc/ft/Ec, nodes, members, column\n"
    "effective-length factors and storey levels. --json prints the model as JSON\n"
    "on stdout and the run-log lines on stderr.\n"
    "Exit status: 0 read, 1 rejected, 2 wrong usage.\n";

float tensileStrength(float grade) {
    for (const ConcreteRow& row : analysisConcreteTable()) {
        if (row.grade == grade) return row.ft;
    }
    return 0.0f;
}

std::string modelJson(const FrameModel& m) {
    JsonWriter j;
    j.beginObject();
    j.key("NJ").value(m.NJ).key("NB").value(m.NB).key("NC").value(m.NC).key("NE").value(m.NE);
    j.key("NSEC").value(m.NSEC).key("NCON").value(m.NCON).key("KW").value(m.KW);
    j.key("NLEV").value(m.NLEV).key("ALFI").value(m.ALFI).key("ALFF").value(m.ALFF);
    j.key("FT").value(m.FT);
    j.key("sections").beginArray();
    for (int s = 1; s <= m.NSEC; ++s) {
        j.beginObject().key("number").value(s).key("B").value(m.SEC(1, s)).key("H").value(m.SEC(2, s));
        j.key("A").value(m.SEC(3, s)).key("I").value(m.SEC(4, s)).endObject();
    }
    j.endArray();
    j.key("concretes").beginArray();
    for (int c = 1; c <= m.NCON; ++c) {
        j.beginObject().key("number").value(c).key("grade").value(m.GRADE(c));
        j.key("fc").value(m.FC(c)).key("fcm").value(m.FCM(c));
        j.key("ft").value(tensileStrength(m.GRADE(c))).key("Ec").value(m.EC(c)).endObject();
    }
    j.endArray();
    j.key("nodes").beginArray();
    for (int n = 1; n <= m.NJ; ++n) {
        j.beginObject().key("number").value(n).key("X").value(m.XY(1, n)).key("Y").value(m.XY(2, n));
        j.key("codes").beginArray().value(m.code(1, n)).value(m.code(2, n)).value(m.code(3, n)).endArray();
        j.endObject();
    }
    j.endArray();
    j.key("members").beginArray();
    for (int e = 1; e <= m.NE; ++e) {
        j.beginObject().key("number").value(e).key("kind").value(e <= m.NB ? "beam" : "column");
        j.key("I").value(m.startNode(e)).key("J").value(m.endNode(e));
        j.key("section").value(m.sectionOf(e)).key("concrete").value(m.concreteOf(e));
        if (e > m.NB) j.key("ALFC").value(m.ALFC(e - m.NB));
        j.endObject();
    }
    j.endArray();
    j.key("levels").beginArray();
    for (int l = 1; l <= m.NLEV; ++l) {
        j.beginObject().key("level").value(l).key("node").value(static_cast<int>(m.LEVN(l)));
        j.key("Y").value(m.LEVY(l)).endObject();
    }
    j.endArray();
    j.key("LEVY0").value(m.LEVY(0));
    j.endObject();
    return j.take();
}

void printSummary(const FrameModel& m) {
    std::printf("节点 %d，梁 %d，柱 %d，截面 %d，混凝土 %d，楼层 %d，自重%s\n", m.NJ, m.NB, m.NC, m.NSEC,
                m.NCON, m.NLEV, m.KW != 0 ? "计入" : "不计");
    auto s = [](float x) { return strSingle(x); };
    for (int k = 1; k <= m.NSEC; ++k) {
        std::printf("截面 %d: B=%s H=%s A=%s I=%s\n", k, s(m.SEC(1, k)).c_str(), s(m.SEC(2, k)).c_str(),
                    s(m.SEC(3, k)).c_str(), s(m.SEC(4, k)).c_str());
    }
    for (int c = 1; c <= m.NCON; ++c) {
        std::printf("混凝土 %d: C%d fc=%s ft=%s Ec=%s\n", c, static_cast<int>(m.GRADE(c)), s(m.FC(c)).c_str(),
                    s(tensileStrength(m.GRADE(c))).c_str(), s(m.EC(c)).c_str());
    }
    for (int n = 1; n <= m.NJ; ++n) {
        std::printf("节点 %d: X=%s Y=%s 位移编码 %d %d %d\n", n, s(m.XY(1, n)).c_str(), s(m.XY(2, n)).c_str(),
                    m.code(1, n), m.code(2, n), m.code(3, n));
    }
    for (int e = 1; e <= m.NE; ++e) {
        const int i = m.startNode(e);
        const int j = m.endNode(e);
        if (e <= m.NB) {
            std::printf("杆件 %d (梁 %d): 节点 %d-%d 截面 %d 混凝土 %d\n", e, e, i, j, m.sectionOf(e),
                        m.concreteOf(e));
        } else {
            std::printf("杆件 %d (柱 %d): 节点 %d-%d 截面 %d 混凝土 %d 计算长度系数%s\n", e, e - m.NB, i, j,
                        m.sectionOf(e), m.concreteOf(e), s(m.ALFC(e - m.NB)).c_str());
        }
    }
    for (int l = 1; l <= m.NLEV; ++l) {
        std::printf("楼层 %d: 节点%s 标高%s\n", l, s(m.LEVN(l)).c_str(), s(m.LEVY(l)).c_str());
    }
}

struct ModelOptions : CommonOptions {
    std::string path;
    bool json = false;
};

int parseModel(const Args& args, const Usage& usage, ModelOptions& o) {
    for (const std::string& a : args) {
        if (a == "--json") {
            // The run log goes to stderr, so stdout stays one JSON document.
            o.json = o.logToStderr = true;
        } else if (!a.empty() && a[0] == '-') {
            return usage.wrong("unknown option '" + a + "'");
        } else if (o.path.empty()) {
            o.path = a;
        } else {
            return usage.wrong("more than one file given");
        }
    }
    if (o.path.empty()) {
        std::fputs(usage.help, stderr);
        return kUsage;
    }
    return -1;
}

int showModel(const ModelOptions& o, Host& host) {
    DataFile file(host, o.path);
    if (!file.load()) {
        host.message("错误信息:无法打开数据文件 '" + o.path + "'！", kErrorTitle, Icon::Information);
        return kRejected;
    }
    if (!PBC(file, host)) return kRejected;
    FrameModel model;
    if (INDATA(file, model, host, ReaderOptions::analysis()) != ReadStatus::Ok) return kRejected;
    if (o.json) {
        std::printf("%s\n", modelJson(model).c_str());
    } else {
        printSummary(model);
    }
    return kOk;
}

}  // namespace

int cmdModel(const Args& args) {
    return runCommand<ModelOptions>(args, {"model", kHelp}, parseModel, showModel);
}

int Usage::wrong(const std::string& why) const {
    std::fprintf(stderr, "tarvel-cli %s: %s\n%s", command, why.c_str(), help);
    return kUsage;
}

bool wantsHelp(const Args& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

}  // namespace tarvel::cli
