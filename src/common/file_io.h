#pragma once
// Whole-file reading and all-or-nothing writing of result files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The bytes of a file; nullopt when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes the bytes to a temporary file in the same folder and renames it over
// `path` only when complete, so a failure never leaves a half-written file
// and never destroys the old one. On failure returns false and sets *error.
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// One file of a set written together.
struct FileContent {
    std::string path;
    std::string bytes;
};

// Writes a set of files that belong together (the results of one run) so
// that a failure changes none of them: every file is first written in full
// to a temporary beside its target and flushed to disk; only when all are
// written are they renamed into place, in the order given, and each folder
// is flushed once. A target that cannot be replaced (a folder standing at its
// name) is found before anything is written. A failure while writing removes
// every temporary and leaves every target as it was; it returns false and
// sets *error and *failedPath. A rename that fails once the targets have
// been found replaceable (an I/O error of the disk) leaves the files before
// it renamed. After a power loss each target is complete, either its old or
// its new content: each rename is atomic, the set of renames is not one step.
bool writeFileSet(const std::vector<FileContent>& files, std::string* error = nullptr,
                  std::string* failedPath = nullptr);

// Why a file cannot be read: "文件不存在", "这是一个文件夹" or "无法读取".
std::string unreadableReason(const std::string& path);

// Folder part of a path including its trailing separator ("" when none).
std::string folderOf(const std::string& path);
// Last path component.
std::string fileNameOf(const std::string& path);

}  // namespace tarvel
