#pragma once
// A host that lets every log line and message pass unseen, so the benchmarks
// time the work and not the output.

#include "common/host.h"

namespace tarvel::bench {

class SilentHost : public Host {
public:
    void message(std::string_view, std::string_view, Icon) override {}
    using Host::ask;
    Answer ask(std::string_view, std::string_view, Buttons, Icon) override { return Answer::Yes; }
    void log(std::string_view) override {}
    void clearLog() override {}
    void status(std::string_view) override {}
    void view(std::string_view) override {}
    std::optional<std::string> chooseFile(std::string_view, std::string_view) override {
        return std::nullopt;
    }
    bool startProgram(std::string_view, const std::vector<std::string>&) override { return false; }
};

}  // namespace tarvel::bench
