#pragma once
// What the fuzzing targets share: the check that stops the fuzzer when a rule
// is broken, a host that answers Yes and keeps a transcript of everything it
// is told, and a scratch folder of the process for the readers that take a
// path.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "common/host.h"

// A broken rule is a crash like any other: libFuzzer keeps the input.
#define TARVEL_FUZZ_CHECK(cond)                                                                   \
    do {                                                                                          \
        if (!(cond)) {                                                                            \
            std::fprintf(stderr, "rule broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__);         \
            __builtin_trap();                                                                     \
        }                                                                                         \
    } while (0)

namespace tarvel::fuzz {

// Answers every question Yes, chooses no file, starts no program, and writes
// each call with its texts into one transcript, so two runs can be compared.
class TranscriptHost : public Host {
  public:
    std::string transcript;
    int messages = 0;

    void message(std::string_view text, std::string_view title, Icon icon) override;
    using Host::ask;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
    void log(std::string_view line) override;
    void clearLog() override;
    void status(std::string_view text) override;
    void view(std::string_view text) override;
    std::optional<std::string> chooseFile(std::string_view title, std::string_view filter) override;
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override;
};

// A folder of this process (under /dev/shm when there is one), emptied on
// request and removed when the process ends. Its path ends in a separator.
// A second folder beside it keeps what a target holds across inputs.
class ScratchFolder {
  public:
    static ScratchFolder& instance();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // A path in the folder that is kept across inputs.
    std::string keptFile(std::string_view name) const { return kept_ + std::string(name); }
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }
    // Removes everything in the folder.
    void clear() const;
    // Writes `bytes` as `name` and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;
    // Every file in the folder (subfolders included, by relative path) with its bytes.
    std::map<std::string, std::string> contents() const;

  private:
    ScratchFolder();
    std::string path_;
    std::string kept_;
};

// The input as text.
inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// True when a printed result holds no infinity or not-a-number.
bool printedFinite(std::string_view text);

template <typename T>
bool allFinite(const T& table) {
    for (const float v : table.values()) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

}  // namespace tarvel::fuzz
