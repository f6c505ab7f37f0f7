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
#include "common/table.h"

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

// Empties the scratch folder and writes the input into it as `name`; returns
// its path. The start of every target that reads a file by its path.
std::string freshInput(std::string_view name, std::string_view bytes);

// The rule of every reader: the input is left as it was and nothing is
// written beside it.
void checkOnlyInputLeft(std::string_view bytes);

// Whether this input is also read a second time to compare the two results.
// Reading twice doubles the cost of every input, and a result that depends on
// something other than the input (an uncleared table, the clock, an address)
// shows on any input that reaches that code, so 1 input in 8 is enough: the
// choice is a hash of the bytes, so a replay checks the same inputs again.
bool checkedTwice(std::string_view bytes);

// True when a printed result holds no infinity or not-a-number.
bool printedFinite(std::string_view text);

// (Not instrumented: the tables hold tens of thousands of entries, and a
// comparison callback per entry would cost more than the reading.)
template <typename T>
__attribute__((no_sanitize("coverage"))) bool allFinite(const T& table) {
    for (const float v : table.values()) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// A hash of the bytes of a table, for the targets that compare two readings.
template <typename T>
__attribute__((no_sanitize("coverage"))) std::uint64_t tableHash(const T& table,
                                                                 std::uint64_t h = 1469598103934665603ull) {
    const auto& v = table.values();
    const auto* p = reinterpret_cast<const unsigned char*>(v.data());
    for (std::size_t i = 0; i < v.size() * sizeof(v[0]); ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// The same for a table sized to the frame, entry by entry up to its bound.
template <typename T, int Capacity>
__attribute__((no_sanitize("coverage"))) bool allFinite(const SizedTable<T, Capacity>& table) {
    for (int i = 0; i <= table.upper(); ++i) {
        if (!std::isfinite(table(i))) return false;
    }
    return true;
}

template <typename T, int Capacity>
__attribute__((no_sanitize("coverage"))) std::uint64_t tableHash(const SizedTable<T, Capacity>& table,
                                                                 std::uint64_t h = 1469598103934665603ull) {
    for (int i = 0; i <= table.upper(); ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(&table(i));
        for (std::size_t b = 0; b < sizeof(T); ++b) h = (h ^ p[b]) * 1099511628211ull;
    }
    return h;
}

}  // namespace tarvel::fuzz
