#include "filemgr/file_manager.h"

#include <filesystem>
#include <system_error>

namespace tarvel {

namespace fs = std::filesystem;
using namespace filemgr_text;

namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

// Texts are UTF-8 (Chinese file names); say so to the path on every platform.
fs::path fsPath(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

}  // namespace

const char* FileManager::filePattern(int index) {
    static constexpr const char* kPatterns[12] = {"*.*",   "*.MDB", "*.DBF", "*.BMP",
                                                  "*.JPG", "*.PCX", "*.DCX", "*.XIF",
                                                  "*.GIF", "*.WIF", "*.TIF", "*.AWD"};
    return (index >= 0 && index <= 11) ? kPatterns[index] : nullptr;
}

std::string FileManager::joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != kSeparator) path += kSeparator;
    return path += name;
}

void FileManager::start() {
    pictureLabelVisible = false;
    CboLx.clear();
}

void FileManager::selectFolder(std::string_view folder) {
    FilListPath = folder;
    FilListFileName.clear();
    if (mode == PickMode::TargetFolder) TxtMbwj = joinPath(folder, pickedName);
    currentFolder = joinPath(folder, FilListFileName);
}

void FileManager::selectFile(std::string_view file) {
    FilListFileName = file;
    if (mode == PickMode::Preview) {
        pictureLabelVisible = true;
        Image1 = currentFolder + FilListFileName;
    } else if (mode == PickMode::SourcePath) {
        TxtWjm = joinPath(FilListPath, file);
        pickedName = file;
    } else if (mode == PickMode::TargetFolder) {
        TxtMbwj = joinPath(FilListPath, "");
    } else if (mode == PickMode::SourceName) {
        TxtWjm = file;
    }
}

void FileManager::selectFileType(int index) {
    if (const char* pattern = filePattern(index)) {
        CboLx = kFileTypes[static_cast<std::size_t>(index)];
        FilListPattern = pattern;
    }
}

void FileManager::setPicturePreview(bool ticked) {
    Check4.ticked = ticked;
    mode = ticked ? PickMode::Preview : PickMode::SourceName;
}

// Full-path source and target-folder picking exclude each other: ticking one
// disables the other until it is cleared.
void FileManager::setPickSourcePath(bool ticked) {
    Check5.ticked = ticked;
    Check6.enabled = !ticked;
    mode = ticked ? PickMode::SourcePath : PickMode::SourceName;
}

void FileManager::setPickTargetFolder(bool ticked) {
    Check6.ticked = ticked;
    Check5.enabled = !ticked;
    mode = ticked ? PickMode::TargetFolder : PickMode::SourceName;
}

void FileManager::runToolbarCommand(std::string_view key) {
    if (key == "A10") {
        Dmd();
    } else if (key == "A57") {
        DCopy();
    } else if (key == "A26") {
        RRen();
    } else if (key == "A50") {
        Ddil();
    } else if (key == "EXIT") {
        Tc();
    }
}

std::string FileManager::sourcePath() const {
    return TxtWjm == FilListFileName ? joinPath(FilListPath, FilListFileName) : TxtWjm;
}

// A relative target is meant in the folder the list shows, not in whatever
// folder the program happens to run in.
std::string FileManager::inListFolder(const std::string& path) const {
    return fsPath(path).is_absolute() ? path : joinPath(FilListPath, path);
}

bool FileManager::done(const char* text) {
    host_.message(text, kTitle, Icon::Information);
    for (CheckBox* box : {&Check4, &Check5, &Check6}) *box = CheckBox{};
    return true;
}

bool FileManager::notFound(const std::string& path) {
    host_.message(kNotFoundHead + path + kNotFoundTail, kTitle, Icon::Information);
    return false;
}

// Copies the source file to the target file, or into the target when that is
// a folder. A missing source, a bad target or the source itself as target is
// a failure; an existing target file is overwritten only when the user agrees.
bool FileManager::DCopy() {
    if (TxtWjm.empty()) {
        host_.message(kNoFile, kTitle, Icon::Information);
        return false;
    }
    const std::string source = sourcePath();
    const fs::path from = fsPath(source);
    std::error_code ec;
    if (TxtMbwj.empty() || !fs::is_regular_file(from, ec)) return notFound(source);
    fs::path to = fsPath(inListFolder(TxtMbwj));
    if (fs::is_directory(to, ec)) to /= from.filename();
    if (fs::equivalent(from, to, ec)) return notFound(source);
    auto options = fs::copy_options::none;
    if (fs::exists(to, ec)) {
        if (!fs::is_regular_file(to, ec)) return notFound(source);
        if (host_.ask(kAskOverwrite, kTitle) != Answer::Yes) return false;
        options = fs::copy_options::overwrite_existing;
    }
    if (!fs::copy_file(from, to, options, ec) || ec) return notFound(source);
    return done(kCopied);
}

// Deletes the source file after a Yes to the question; folders are not deleted.
bool FileManager::Ddil() {
    if (TxtWjm.empty()) {
        host_.message(kNoFile, kTitle, Icon::Information);
        return false;
    }
    const std::string source = sourcePath();
    if (host_.ask(kAskDelete, kTitle) != Answer::Yes) return false;
    const fs::path path = fsPath(source);
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(path, ec)) || !fs::remove(path, ec)) {
        return notFound(source);
    }
    return done(kDeleted);
}

// Gives the source a new path, possibly in another folder of the same drive.
// An existing target is never replaced.
bool FileManager::RRen() {
    const char* missing = TxtWjm.empty() ? kNoSource : TxtMbwj.empty() ? kNoTarget : nullptr;
    if (missing) {
        host_.message(missing, kTitle, Icon::Information);
        return false;
    }
    const std::string source = sourcePath();
    const fs::path from = fsPath(source);
    const fs::path to = fsPath(inListFolder(TxtMbwj));
    std::error_code ec;
    const bool targetTaken =
        fs::exists(fs::symlink_status(to, ec)) && !fs::equivalent(from, to, ec);
    if (!fs::exists(fs::symlink_status(from, ec)) || targetTaken) return notFound(source);
    fs::rename(from, to, ec);
    if (ec) return notFound(source);
    return done(kRenamed);
}

// Makes the folder named by the target box inside the list's folder; an
// existing folder or a missing parent is a failure.
bool FileManager::Dmd() {
    if (TxtMbwj.empty()) {
        host_.message(kNoTarget, kTitle, Icon::Information);
        return false;
    }
    const std::string path = joinPath(FilListPath, TxtMbwj);
    std::error_code ec;
    if (!fs::create_directory(fsPath(path), ec) || ec) return notFound(path);
    return done(kFolderMade);
}

}  // namespace tarvel
