#include "console_host.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include <cctype>
#include <cstdlib>
#include <string>

namespace tarvel {

namespace {

void writeLine(std::FILE* file, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc('\n', file);
    std::fflush(file);
}

// Reads one answer line; nullopt at the end of the input.
std::optional<std::string> readAnswerLine(std::FILE* in) {
    std::string line;
    int c = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF && line.empty()) return std::nullopt;
    return line;
}

}  // namespace

ConsoleHost::ConsoleHost(bool assumeYes, std::FILE* out, std::FILE* err, std::FILE* in)
    : assumeYes_(assumeYes), out_(out), err_(err), in_(in) {}

void ConsoleHost::message(std::string_view text, std::string_view title, Icon) {
    writeLine(err_, "[" + std::string(title) + "] " + std::string(text));
}

// Without --yes a question is put only to a person at a terminal; in a script
// nobody can answer, so the operation is refused rather than assumed.
Answer ConsoleHost::ask(std::string_view text, std::string_view, Buttons buttons, Icon) {
    const bool withCancel = buttons == Buttons::YesNoCancel;
    if (assumeYes_) return Answer::Yes;
    if (!in_ || !::isatty(::fileno(in_))) {
        writeLine(err_, "需要确认：" + std::string(text) + " —— 未给出 --yes，操作取消。");
        return Answer::No;
    }
    for (;;) {
        const std::string prompt = std::string(text) + (withCancel ? " (Y/N/C) " : " (Y/N) ");
        std::fwrite(prompt.data(), 1, prompt.size(), err_);
        std::fflush(err_);
        const std::optional<std::string> line = readAnswerLine(in_);
        if (!line) return withCancel ? Answer::Cancel : Answer::No;
        const std::size_t first = line->find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        switch (std::toupper(static_cast<unsigned char>((*line)[first]))) {
            case 'Y':
                return Answer::Yes;
            case 'N':
                return Answer::No;
            case 'C':
                if (withCancel) return Answer::Cancel;
                break;
            default:
                break;
        }
    }
}

void ConsoleHost::log(std::string_view line) { writeLine(out_, line); }

// A terminal keeps what it has shown.
void ConsoleHost::clearLog() {}

void ConsoleHost::status(std::string_view text) { writeLine(err_, text); }

void ConsoleHost::view(std::string_view text) { writeLine(out_, text); }

std::optional<std::string> ConsoleHost::chooseFile(std::string_view, std::string_view) {
    return std::nullopt;
}

// The program runs in the terminal (an editor) and the command waits for it.
bool ConsoleHost::startProgram(std::string_view program,
                               const std::vector<std::string>& arguments) {
    if (program.empty()) return false;
    std::fflush(out_);
    std::fflush(err_);
    const std::string name(program);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(name.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawnp(&child, name.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace tarvel
