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

// The same all-or-nothing set, written a piece at a time while its texts are
// formed, so that no file has to be held in memory whole. The targets are
// named up front and checked before anything is written, like writeFileSet.
// begin() opens the temporary of the next target (in the order named), put()
// appends to it, end() starts its way to the disk; commit() flushes every
// temporary, renames each into place and flushes each folder once. The first failure is
// kept and every later step does nothing; commit() then reports it (false,
// *error, *failedPath) and removes the temporaries. A set that is not
// committed (a run that stops) is removed when the writer goes.
class FileSetWriter {
public:
    explicit FileSetWriter(std::vector<std::string> targets);
    ~FileSetWriter();
    FileSetWriter(const FileSetWriter&) = delete;
    FileSetWriter& operator=(const FileSetWriter&) = delete;

    void begin();
    void put(std::string_view bytes);
    void end();
    bool commit(std::string* error = nullptr, std::string* failedPath = nullptr);

    bool failed() const { return failed_; }
    const std::vector<std::string>& targets() const { return targets_; }

private:
    void failAt(const std::string& path, std::string text);
    void removeTemporaries(std::size_t from);

    std::vector<std::string> targets_;
    std::vector<std::string> temporaries_;
    int fd_ = -1;                // the temporary being written
    std::vector<int> unflushed_;  // temporaries written, on their way to the disk
    bool committed_ = false;
    bool failed_ = false;
    std::string error_;
    std::string failedPath_;
};

// Why a file cannot be read: "文件不存在", "这是一个文件夹" or "无法读取".
std::string unreadableReason(const std::string& path);

// Folder part of a path including its trailing separator ("" when none).
std::string folderOf(const std::string& path);
// Last path component.
std::string fileNameOf(const std::string& path);

}  // namespace tarvel
