#pragma once
// Everything the core needs from a user interface. The desktop windows, the
// command-line tool and the tests each implement it; the core never writes to
// a terminal or opens a dialog itself.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Answer { Yes, No, Cancel };
enum class Buttons { YesNoCancel, YesNo };

class Host {
public:
    virtual ~Host() = default;

    // Message box with a title and an icon.
    virtual void message(std::string_view text, std::string_view title, Icon icon) = 0;
    // A question with its buttons and icon.
    virtual Answer ask(std::string_view text, std::string_view title, Buttons buttons,
                       Icon icon) = 0;
    // The usual confirmation: Yes/No/Cancel with the question icon.
    Answer ask(std::string_view text, std::string_view title) {
        return ask(text, title, Buttons::YesNoCancel, Icon::Question);
    }
    // The run log of the analysis and drawing windows.
    virtual void log(std::string_view line) = 0;
    virtual void clearLog() = 0;
    // The status line of the data-preparation window.
    virtual void status(std::string_view text) = 0;
    // The text view box that shows validation and conversion output.
    virtual void view(std::string_view text) = 0;
    // A file chosen by the user; nullopt when the choice is cancelled.
    virtual std::optional<std::string> chooseFile(std::string_view title,
                                                  std::string_view filter) = 0;
    // A name for a file to be created (a save dialog); nullopt when cancelled.
    // Hosts without a separate save dialog answer as for chooseFile.
    virtual std::optional<std::string> chooseNewFile(std::string_view title,
                                                     std::string_view filter) {
        return chooseFile(title, filter);
    }
    // Starts an external program (an editor, a viewer) with its arguments, each
    // passed as it is, never through a shell; false when it cannot be started.
    virtual bool startProgram(std::string_view program,
                              const std::vector<std::string>& arguments) = 0;
};

}  // namespace tarvel
