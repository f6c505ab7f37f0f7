#include "recording_host.h"

#include <utility>

namespace tarvel {

void RecordingHost::message(std::string_view text, std::string_view title, Icon icon) {
    messages.push_back({std::string(text), std::string(title), icon});
}

Answer RecordingHost::ask(std::string_view text, std::string_view title, Buttons buttons,
                          Icon icon) {
    questions.push_back({std::string(text), std::string(title), icon});
    questionButtons.push_back(buttons);
    if (answers.empty()) return Answer::Yes;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingHost::log(std::string_view line) { logLines.emplace_back(line); }

void RecordingHost::clearLog() { ++logClears; }

void RecordingHost::status(std::string_view text) { statusTexts.emplace_back(text); }

void RecordingHost::view(std::string_view text) { viewTexts.emplace_back(text); }

std::optional<std::string> RecordingHost::chooseFile(std::string_view, std::string_view) {
    if (chosenFiles.empty()) return std::nullopt;
    std::string file = std::move(chosenFiles.front());
    chosenFiles.pop_front();
    return file;
}

bool RecordingHost::startProgram(std::string_view program,
                                 const std::vector<std::string>& arguments) {
    startedPrograms.push_back({std::string(program), arguments});
    return programsStart;
}

}  // namespace tarvel
