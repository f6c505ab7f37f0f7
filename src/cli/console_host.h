#pragma once
// The host of the command-line tool: messages go to stderr, the run log and
// the view box to stdout; a question is answered Yes when --yes was given,
// otherwise it is asked on the terminal when there is one, else refused (No).

#include <cstdio>

#include "common/host.h"

namespace tarvel {

class ConsoleHost : public Host {
public:
    explicit ConsoleHost(bool assumeYes = false, std::FILE* out = stdout, std::FILE* err = stderr,
                         std::FILE* in = stdin);
    void message(std::string_view text, std::string_view title, Icon icon) override;
    using Host::ask;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
    void log(std::string_view line) override;
    void clearLog() override;
    void status(std::string_view text) override;
    void view(std::string_view text) override;
    std::optional<std::string> chooseFile(std::string_view title, std::string_view filter) override;
    bool startProgram(std::string_view program,
                      const std::vector<std::string>& arguments) override;

private:
    bool assumeYes_;
    std::FILE* out_;
    std::FILE* err_;
    std::FILE* in_;
};

}  // namespace tarvel
