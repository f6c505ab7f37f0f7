// Protects the two hosts without windows: the recording host of the tests and the command-line host.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/console_host.h"
#include "support/recording_host.h"

namespace tarvel {
namespace {

TEST(RecordingHost, RecordsEverythingInOrder) {
    RecordingHost recorder;
    Host& host = recorder;
    host.message("文件已保存", "提示", Icon::Information);
    host.message("数据有错", "错误", Icon::Critical);
    host.log("第一行");
    host.log("第二行");
    host.clearLog();
    host.status("文件等待校验,请您选择！");
    host.view("POINT\r\n");
    EXPECT_TRUE(host.startProgram("NOTEPAD.EXE", {"A B.TVL"}));

    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text, "文件已保存");
    EXPECT_EQ(recorder.messages[0].title, "提示");
    EXPECT_EQ(recorder.messages[0].icon, Icon::Information);
    EXPECT_EQ(recorder.messages[1].text, "数据有错");
    EXPECT_EQ(recorder.messages[1].icon, Icon::Critical);
    EXPECT_EQ(recorder.logLines, (std::vector<std::string>{"第一行", "第二行"}));
    EXPECT_EQ(recorder.logClears, 1);
    EXPECT_EQ(recorder.statusTexts, std::vector<std::string>{"文件等待校验,请您选择！"});
    EXPECT_EQ(recorder.viewTexts, std::vector<std::string>{"POINT\r\n"});
    ASSERT_EQ(recorder.startedPrograms.size(), 1u);
    EXPECT_EQ(recorder.startedPrograms[0].program, "NOTEPAD.EXE");
    EXPECT_EQ(recorder.startedPrograms[0].arguments, std::vector<std::string>{"A B.TVL"});
}

TEST(RecordingHost, AnswersFromItsQueueThenYes) {
    RecordingHost host;
    host.answers = {Answer::No, Answer::Cancel};
    EXPECT_EQ(host.ask("第一问", "提示！"), Answer::No);
    EXPECT_EQ(host.ask("第二问", "提示！"), Answer::Cancel);
    EXPECT_EQ(host.ask("第三问", "提示！"), Answer::Yes);
    ASSERT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(host.questions[1].text, "第二问");
    EXPECT_EQ(host.questions[1].title, "提示！");
    EXPECT_EQ(host.questions[2].icon, Icon::Question);
    // The short form is the usual Yes/No/Cancel confirmation.
    EXPECT_EQ(host.questionButtons,
              (std::vector<Buttons>{Buttons::YesNoCancel, Buttons::YesNoCancel, Buttons::YesNoCancel}));
    EXPECT_TRUE(host.messages.empty());
}

TEST(RecordingHost, ChoosesFilesFromItsQueueThenCancels) {
    RecordingHost host;
    host.chosenFiles = {"A.TVL", "B.FRM"};
    EXPECT_EQ(host.chooseFile("打开", "*.TVL"), "A.TVL");
    EXPECT_EQ(host.chooseFile("打开", "*.FRM"), "B.FRM");
    EXPECT_EQ(host.chooseFile("打开", "*.TVL"), std::nullopt);
}

// Everything written to a temporary stream so far.
std::string contentOf(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
    return text;
}

class ConsoleHostStreams : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = std::tmpfile();
        err_ = std::tmpfile();
        in_ = std::tmpfile();
        ASSERT_TRUE(out_ && err_ && in_);
    }
    void TearDown() override {
        for (std::FILE* file : {out_, err_, in_}) {
            if (file) std::fclose(file);
        }
    }
    std::FILE* out_ = nullptr;
    std::FILE* err_ = nullptr;
    std::FILE* in_ = nullptr;
};

TEST_F(ConsoleHostStreams, MessagesGoToErrorStreamLogAndViewToOutput) {
    ConsoleHost host(true, out_, err_, in_);
    host.message("文件已保存", "提示", Icon::Information);
    host.status("正在计算");
    host.log("第一行");
    host.view("结果");
    host.clearLog();
    EXPECT_EQ(contentOf(err_), "[提示] 文件已保存\n正在计算\n");
    EXPECT_EQ(contentOf(out_), "第一行\n结果\n");
}

TEST_F(ConsoleHostStreams, AssumedYesAsksNothing) {
    ConsoleHost host(true, out_, err_, in_);
    EXPECT_EQ(host.ask("您是否真的要校验（TVL）数据文件吗？", "提示！"), Answer::Yes);
    EXPECT_EQ(contentOf(err_), "");
    EXPECT_EQ(contentOf(out_), "");
}

TEST_F(ConsoleHostStreams, QuestionWithoutTerminalIsRefused) {
    // A temporary file is no terminal, so nobody could answer.
    std::fputs("Y\n", in_);
    std::rewind(in_);
    ConsoleHost host(false, out_, err_, in_);
    EXPECT_EQ(host.ask("是否覆盖？", "提示！"), Answer::No);
    EXPECT_EQ(contentOf(err_), "需要确认：是否覆盖？ —— 未给出 --yes，操作取消。\n");
    EXPECT_EQ(contentOf(out_), "");
}

TEST_F(ConsoleHostStreams, QuestionAtTerminalReadsTheAnswer) {
    // A pseudo-terminal stands in for the user: the first line is no answer,
    // so the question is put again.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0) ::close(master);
        GTEST_SKIP() << "no pseudo-terminal available";
    }
    std::FILE* terminal = std::fopen(::ptsname(master), "r");
    ASSERT_NE(terminal, nullptr);
    const std::string typed = "x\n c\n";
    ASSERT_EQ(::write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));

    ConsoleHost host(false, out_, err_, terminal);
    EXPECT_EQ(host.ask("是否覆盖？", "提示！"), Answer::Cancel);
    EXPECT_EQ(contentOf(err_), "是否覆盖？ (Y/N/C) 是否覆盖？ (Y/N/C) ");
    std::fclose(terminal);
    ::close(master);
}

TEST_F(ConsoleHostStreams, NoFileDialog) {
    ConsoleHost host(true, out_, err_, in_);
    EXPECT_EQ(host.chooseFile("打开", "*.TVL"), std::nullopt);
}

TEST_F(ConsoleHostStreams, StartProgramReportsSuccess) {
    ConsoleHost host(true, out_, err_, in_);
    EXPECT_FALSE(host.startProgram("", {}));
    EXPECT_TRUE(host.startProgram("true", {}));
    EXPECT_FALSE(host.startProgram("false", {}));
    EXPECT_FALSE(host.startProgram("/no/such/program", {}));
    // Arguments reach the program as they are: no shell splits or expands them.
    EXPECT_TRUE(host.startProgram("test", {"a b;$HOME", "=", "a b;$HOME"}));
    EXPECT_FALSE(host.startProgram("test", {"a b", "=", "a"}));
}

}  // namespace
}  // namespace tarvel
