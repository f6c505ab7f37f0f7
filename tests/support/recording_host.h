#pragma once
// A host that records everything it receives, for tests: they assert the
// exact texts. Questions are answered from a queue (default Yes).

#include <deque>
#include <string>
#include <vector>

#include "common/host.h"

namespace tarvel {

class RecordingHost : public Host {
public:
    struct Message {
        std::string text;
        std::string title;
        Icon icon;
    };
    std::vector<Message> messages;
    std::vector<Message> questions;
    std::vector<Buttons> questionButtons;  // the buttons of each question
    std::vector<std::string> logLines;
    std::vector<std::string> statusTexts;
    std::vector<std::string> viewTexts;
    struct StartedProgram {
        std::string program;
        std::vector<std::string> arguments;
        bool operator==(const StartedProgram&) const = default;
    };
    std::vector<StartedProgram> startedPrograms;
    bool programsStart = true;               // what startProgram answers
    int logClears = 0;
    std::deque<Answer> answers;              // next answers; Yes when empty
    std::deque<std::string> chosenFiles;     // next file choices; cancel when empty

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
};

}  // namespace tarvel
