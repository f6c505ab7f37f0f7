#include "prep_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "model/data_file.h"
#include "model/frame_reader.h"
#include "prep/job_template.h"
#include "support/recording_host.h"

namespace tarvel::test {

std::string builtTemplatePath() { return std::string(TARVEL_BINARY_DIR) + "/src/cli/FRM/FRM.MDB"; }

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("tarvel-prep-") + (info ? info->name() : "test") + "-" +
                             std::to_string(::getpid()) + "-" + std::to_string(counter++);
    folder_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

JobDatabase newJob(const ScratchFolder& folder, const std::string& name) {
    RecordingHost host;
    const std::string path = folder.path(name);
    EXPECT_EQ(createJobDatabase(builtTemplatePath(), path, host), PrepOutcome::Done);
    JobDatabase db;
    std::string error;
    EXPECT_TRUE(db.open(path, &error)) << error;
    return db;
}

void fill(JobDatabase& db, std::string_view table,
          std::initializer_list<std::initializer_list<double>> rows) {
    for (const auto& values : rows) {
        Row row;
        for (const double v : values) row.push_back(v == kEmpty ? Cell::empty() : Cell::of(v));
        db.appendRow(jobTable(table), row);
    }
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

FrameModel readModel(const std::string& path) {
    RecordingHost host;
    DataFile file(host, path);
    EXPECT_TRUE(file.load()) << path;
    FrameModel model;
    EXPECT_EQ(INDATA(file, model, host, ReaderOptions::analysis()), ReadStatus::Ok) << path;
    return model;
}

namespace {

template <typename T, int U>
void expectSameTable(const Table<T, U>& a, const Table<T, U>& b, const char* name) {
    for (int i = 0; i <= U; ++i) EXPECT_EQ(a(i), b(i)) << name << "(" << i << ")";
}

template <typename T, int U1, int U2>
void expectSameTable(const Table<T, U1, U2>& a, const Table<T, U1, U2>& b, const char* name) {
    for (int i = 0; i <= U1; ++i) {
        for (int j = 0; j <= U2; ++j)
            EXPECT_EQ(a(i, j), b(i, j)) << name << "(" << i << "," << j << ")";
    }
}

}  // namespace

void expectSameModel(const FrameModel& a, const FrameModel& b) {
    EXPECT_EQ(a.NJ, b.NJ);
    EXPECT_EQ(a.NB, b.NB);
    EXPECT_EQ(a.NC, b.NC);
    EXPECT_EQ(a.NE, b.NE);
    EXPECT_EQ(a.NSEC, b.NSEC);
    EXPECT_EQ(a.NCON, b.NCON);
    EXPECT_EQ(a.KW, b.KW);
    EXPECT_EQ(a.NLEV, b.NLEV);
    EXPECT_EQ(a.ALFI, b.ALFI);
    EXPECT_EQ(a.ALFF, b.ALFF);
    EXPECT_EQ(a.FT, b.FT);
    expectSameTable(a.XY, b.XY, "XY");
    expectSameTable(a.JD, b.JD, "JD");
    expectSameTable(a.SEC, b.SEC, "SEC");
    expectSameTable(a.GRADE, b.GRADE, "GRADE");
    expectSameTable(a.FC, b.FC, "FC");
    expectSameTable(a.FCM, b.FCM, "FCM");
    expectSameTable(a.EC, b.EC, "EC");
    expectSameTable(a.MEM, b.MEM, "MEM");
    expectSameTable(a.ALFC, b.ALFC, "ALFC");
    expectSameTable(a.LEVN, b.LEVN, "LEVN");
    expectSameTable(a.LEVY, b.LEVY, "LEVY");
}

}  // namespace tarvel::test
