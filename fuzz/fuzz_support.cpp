#include "fuzz_support.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tarvel::fuzz {

namespace fs = std::filesystem;

namespace {

void entry(std::string& out, std::string_view kind, std::string_view text) {
    out.append(kind).append(": ").append(text).push_back('\n');
}

}  // namespace

void TranscriptHost::message(std::string_view text, std::string_view title, Icon icon) {
    ++messages;
    entry(transcript, "message " + std::to_string(static_cast<int>(icon)) + " " + std::string(title), text);
}

Answer TranscriptHost::ask(std::string_view text, std::string_view title, Buttons, Icon) {
    entry(transcript, "ask " + std::string(title), text);
    return Answer::Yes;
}

void TranscriptHost::log(std::string_view line) { entry(transcript, "log", line); }
void TranscriptHost::clearLog() { entry(transcript, "clear", ""); }
void TranscriptHost::status(std::string_view text) { entry(transcript, "status", text); }
void TranscriptHost::view(std::string_view text) { entry(transcript, "view", text); }

std::optional<std::string> TranscriptHost::chooseFile(std::string_view title, std::string_view) {
    entry(transcript, "choose", title);
    return std::nullopt;
}

bool TranscriptHost::startProgram(std::string_view program, const std::vector<std::string>&) {
    entry(transcript, "start", program);
    return false;
}

ScratchFolder& ScratchFolder::instance() {
    static ScratchFolder folder;
    return folder;
}

ScratchFolder::ScratchFolder() {
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    path_ = (base / ("tarvel-fuzz-" + std::to_string(getpid()))).string() + "/";
    kept_ = (base / ("tarvel-fuzz-" + std::to_string(getpid()) + "-kept")).string() + "/";
    for (const std::string& p : {path_, kept_}) {
        fs::remove_all(p, ec);
        fs::create_directories(p);
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
    fs::remove_all(kept_, ec);
}

void ScratchFolder::clear() const {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(path_, ec)) fs::remove_all(e.path(), ec);
}

std::string ScratchFolder::write(std::string_view name, std::string_view bytes) const {
    const std::string p = file(name);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    TARVEL_FUZZ_CHECK(out.good());
    return p;
}

std::map<std::string, std::string> ScratchFolder::contents() const {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(path_, ec)) {
        // The path below the folder, without the file system's canonical
        // form (a readlink per component).
        const std::string rel = e.path().string().substr(path_.size());
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            files[rel] = std::string(std::istreambuf_iterator<char>(in), {});
        } else {
            files[rel + "/"] = "";
        }
    }
    return files;
}

std::string freshInput(std::string_view name, std::string_view bytes) {
    const ScratchFolder& folder = ScratchFolder::instance();
    folder.clear();
    return folder.write(name, bytes);
}

void checkOnlyInputLeft(std::string_view bytes) {
    const auto files = ScratchFolder::instance().contents();
    TARVEL_FUZZ_CHECK(files.size() == 1 && files.begin()->second == bytes);
}

bool checkedTwice(std::string_view bytes) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return (h >> 29) % 8 == 0;
}

bool printedFinite(std::string_view text) {
    return text.find("#INF") == std::string_view::npos && text.find("#QNAN") == std::string_view::npos &&
           text.find("#IND") == std::string_view::npos && text.find("nan") == std::string_view::npos &&
           text.find("inf") == std::string_view::npos;
}

}  // namespace tarvel::fuzz
