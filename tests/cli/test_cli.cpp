// Protects tarvel-cli as a user meets it: exit statuses, the run log on
// stdout, messages on stderr, and the files a run leaves beside the data file.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "analysis/run_texts.h"
#include "cli/commands.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using testing::TempDir;

struct Outcome {
    int status = -1;
    std::string out;  // stdout and stderr, in the order written
};

Outcome cli(const std::string& arguments) {
    const std::string command = std::string(TARVEL_CLI) + " " + arguments + " 2>&1";
    Outcome o;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return o;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) o.out.append(buf, n);
    const int raw = pclose(pipe);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
}

std::string example() { return std::string(TARVEL_SOURCE_DIR) + "/examples/FRAME3X4.TVL"; }

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CommandLine, UsageErrorsAndHelp) {
    EXPECT_EQ(cli("").status, 2);
    EXPECT_EQ(cli("frobnicate").status, 2);
    for (const char* command : {"model", "run", "draw", "new", "generate", "convert", "check", "import"}) {
        const Outcome help = cli(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_TRUE(contains(help.out, "usage")) << command;
    }
    EXPECT_EQ(cli("model").status, 2);
    EXPECT_EQ(cli("run " + example() + " --main-grade 5").status, 2);
    EXPECT_EQ(cli("run " + example() + " --timestamp yesterday").status, 2);
}

TEST(CommandLine, ModelOfTheBundledExample) {
    const Outcome o = cli("model " + example() + " --json");
    ASSERT_EQ(o.status, 0) << o.out;
    // 3 bays and 4 storeys: 20 nodes, 12 beams, 16 columns, 4 levels.
    EXPECT_TRUE(contains(o.out, "\"NJ\":20,\"NB\":12,\"NC\":16,\"NE\":28")) << o.out;
    EXPECT_TRUE(contains(o.out, "\"NLEV\":4"));
}

TEST(CommandLine, ModelAsTextShowsNodesMembersAndFactors) {
    const Outcome o = cli("model " + example());
    ASSERT_EQ(o.status, 0) << o.out;
    // Node 5 of the example: X 0, Y 4.5, codes 1 2 3.
    EXPECT_TRUE(contains(o.out, "节点 5: X= 0 Y= 4.5 位移编码 1 2 3\n")) << o.out;
    EXPECT_TRUE(contains(o.out, "杆件 1 (梁 1): 节点 5-6 截面 1 混凝土 2\n")) << o.out;
    // Ground column 1-5 (node 1 fully restrained): derived factor 1.0; column
    // 5-9 (both ends free): 1.25; column 6 gives 1.25 itself.
    EXPECT_TRUE(contains(o.out, "杆件 13 (柱 1): 节点 1-5 截面 3 混凝土 1 计算长度系数 1\n")) << o.out;
    EXPECT_TRUE(contains(o.out, "杆件 17 (柱 5): 节点 5-9 截面 3 混凝土 1 计算长度系数 1.25\n")) << o.out;
    EXPECT_TRUE(contains(o.out, "杆件 18 (柱 6): 节点 6-10 截面 3 混凝土 1 计算长度系数 1.25\n")) << o.out;
}

TEST(CommandLine, RejectedFilesExitWithOne) {
    TempDir dir;
    const std::string missing = dir.file("NONE.TVL");
    const Outcome absent = cli("model " + missing);
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(contains(absent.out, "错误信息:无法打开数据文件")) << absent.out;

    const std::string bad = dir.write("BAD.TVL", "BAR-SEC\r\n .25  x \r\n\r\n");
    const Outcome letter = cli("run " + bad);
    EXPECT_EQ(letter.status, 1);
    EXPECT_TRUE(contains(letter.out, "'x' 不是数值")) << letter.out;
    EXPECT_FALSE(std::filesystem::exists(dir.file("DLOAD.fkn")));
}

TEST(CommandLine, WholeRunOfTheExampleWritesEveryResultFile) {
    TempDir dir;
    std::filesystem::copy_file(example(), dir.file("FRAME3X4.TVL"));
    const Outcome o = cli("run " + dir.file("FRAME3X4.TVL") +
                          " --timestamp \"2026 - 12 - 08   10:00:00\" --json " + dir.file("out.json"));
    ASSERT_EQ(o.status, 0) << o.out;
    EXPECT_TRUE(contains(o.out, "结构分析程序运行过程：\n源数据文件名：FRAME3X4.TVL\n"));
    EXPECT_TRUE(contains(o.out, "结构分析程序正常结束！"));
    for (const char* name :
         {"DLOAD.fkn", "LLOAD.fkn", "WLOAD.fkn", "TARVEL1.wri", "TARVEL2.wri", "AS.ags", "out.json"}) {
        EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << name;
    }
    EXPECT_TRUE(contains(TempDir::read(dir.file("TARVEL1.wri")), "计算时间:2026 - 12 - 08   10:00:00\r\n"));
    const std::string json = TempDir::read(dir.file("out.json"));
    for (const char* key : {"\"BM\":", "\"PERIOD\":", "\"PHI\":", "\"BAS\":", "\"CASVC\":", "\"NMASS\":4"}) {
        EXPECT_TRUE(contains(json, key)) << key;
    }

    // The same run again gives the same files, byte for byte.
    const std::string report = TempDir::read(dir.file("TARVEL1.wri"));
    const std::string forces = TempDir::read(dir.file("TARVEL2.wri"));
    ASSERT_EQ(cli("run " + dir.file("FRAME3X4.TVL") + " --timestamp \"2026 - 12 - 08   10:00:00\"").status, 0);
    EXPECT_EQ(TempDir::read(dir.file("TARVEL1.wri")), report);
    EXPECT_EQ(TempDir::read(dir.file("TARVEL2.wri")), forces);
}

// The JSON summary is one file of the run's result set: when it cannot be
// written (a folder stands at its name), no result file changes; given a
// writable name it matches the result files of the same run.
TEST(CommandLine, SummaryThatCannotBeWrittenChangesNoResultFile) {
    TempDir dir;
    std::filesystem::copy_file(example(), dir.file("FRAME3X4.TVL"));
    const std::string stamp = " --timestamp \"2026 - 12 - 08   10:00:00\"";
    const std::string old = dir.write("TARVEL1.wri", "old report");
    std::filesystem::create_directory(dir.file("out.json"));

    const Outcome blocked = cli("run " + dir.file("FRAME3X4.TVL") + stamp + " --json " + dir.file("out.json"));
    EXPECT_EQ(blocked.status, 1) << blocked.out;
    EXPECT_TRUE(contains(blocked.out, run_text::kNothingChanged)) << blocked.out;
    EXPECT_EQ(TempDir::read(old), "old report");
    for (const char* name : {"DLOAD.fkn", "LLOAD.fkn", "WLOAD.fkn", "TARVEL2.wri", "AS.ags"}) {
        EXPECT_FALSE(std::filesystem::exists(dir.file(name))) << name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    }

    std::filesystem::remove(dir.file("out.json"));
    const Outcome written = cli("run " + dir.file("FRAME3X4.TVL") + stamp + " --json " + dir.file("out.json"));
    ASSERT_EQ(written.status, 0) << written.out;
    EXPECT_NE(TempDir::read(old), "old report");
    EXPECT_TRUE(contains(TempDir::read(dir.file("out.json")), "\"complete\":true"));
}

// The job-database commands run in tarvel-cli-job, started by tarvel-cli with
// the same arguments: a job made by `new` takes an import of the example.
TEST(CommandLine, JobCommandsReachTheJobProgram) {
    TempDir dir;
    const std::string job = dir.file("J.mdb");
    const Outcome made = cli("new " + job + " --yes");
    ASSERT_EQ(made.status, 0) << made.out;
    EXPECT_GT(std::filesystem::file_size(job), 0u);
    const Outcome imported = cli("import " + example() + " " + job + " --yes");
    EXPECT_EQ(imported.status, 0) << imported.out;
    const Outcome generated = cli("generate " + job + " " + dir.file("OUT.TVL") + " --yes");
    EXPECT_EQ(generated.status, 0) << generated.out;
    EXPECT_TRUE(contains(TempDir::read(dir.file("OUT.TVL")), "SEISMIC"));
    EXPECT_EQ(cli("new").status, 2);  // wrong usage, reported by the job program
}

// The example with the self-weight switch 2, which the run reads as "on" with a warning.
std::string exampleWithWarning(TempDir& dir) {
    std::string data = TempDir::read(example());
    const std::string weight = "WEIGHT\r\n 1 \r\n";
    data.replace(data.find(weight), weight.size(), "WEIGHT\r\n 2 \r\n");
    return dir.write("W.TVL", data);
}

// No data file makes the eigen-solver fail (it converges on every finite symmetric
// matrix, and a frame the run accepts gives a finite one), so the run is handed a
// solver that reports failure, through the routine `tarvel-cli run` calls.
int failingEigenSolver(int, const EigenMatrix&, EigenVector&, EigenMatrix&) { return 1; }

TEST(CommandLine, RunWithoutTheSeismicActionExitsWithThreeAndWarningsReachStderr) {
    TempDir dir;
    const std::string data = exampleWithWarning(dir);
    const std::string warning = "系统提示：'WEIGHT' 数据段的自重开关为 2(应为 0 或 1)";

    RunRequest request;
    request.dataFile = data;
    request.timeStamp = "2026 - 12 - 08   10:00:00";
    request.eigenSolver = failingEigenSolver;
    RecordingHost host;
    ::testing::internal::CaptureStderr();
    const int status = cli::runAnalysis(request, "", host);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, cli::kWithoutSeismic);
    ASSERT_FALSE(host.logLines.empty());
    EXPECT_EQ(host.logLines.back(), run_text::kEndWithoutSeismic);
    EXPECT_TRUE(std::filesystem::exists(dir.file("TARVEL1.wri")));
    EXPECT_TRUE(contains(err, warning)) << err;

    // The whole program: the warning on stderr, not on stdout, and exit 0 with the real solver.
    const std::string command = std::string(TARVEL_CLI) + " run " + data + " 2>&1 1>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string stderrText;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) stderrText.append(buf, n);
    const int raw = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_TRUE(contains(stderrText, warning)) << stderrText;
    EXPECT_FALSE(contains(stderrText, "结构分析程序运行过程：")) << "the run log belongs on stdout";
}

TEST(CommandLine, DrawingsOfTheExample) {
    TempDir dir;
    std::filesystem::copy_file(example(), dir.file("FRAME3X4.TVL"));
    ASSERT_EQ(cli("run " + dir.file("FRAME3X4.TVL")).status, 0);
    EXPECT_EQ(cli("draw frame " + dir.file("FRAME3X4.TVL")).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("FRAME3X4.DXF")));
    EXPECT_EQ(cli("draw as " + dir.file("AS.ags")).status, 0);
    const Outcome forces = cli("draw forces " + dir.file("WLOAD.fkn") + " --case wind --diagram M");
    EXPECT_EQ(forces.status, 0) << forces.out;
}

// A job created for an import that fails goes again; one that succeeds holds
// the file's records.
TEST(CommandLine, AFailedImportLeavesNoJobDatabase) {
    TempDir dir;
    const std::string bad = dir.write("BAD.TVL", "BAR-SEC\r\n .25  x \r\n\r\n");
    const std::string job = dir.file("JOB.mdb");
    const Outcome refused = cli("import " + bad + " " + job + " --yes");
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_FALSE(std::filesystem::exists(job));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);  // only the data file

    const Outcome imported = cli("import " + example() + " " + job + " --yes");
    EXPECT_EQ(imported.status, 0) << imported.out;
    EXPECT_TRUE(std::filesystem::exists(job));
}

}  // namespace
}  // namespace tarvel
