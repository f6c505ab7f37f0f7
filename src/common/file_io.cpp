#include "file_io.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace tarvel {

namespace {

bool isSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

std::size_t afterLastSeparator(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1])) return i;
    }
    return 0;
}

std::string systemError(int code) { return std::error_code(code, std::generic_category()).message(); }

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Creates a new, empty file beside `path` whose name no other writer uses:
// process id plus a counter, retried if a stale file has that name.
int createTemporary(const std::string& path, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = path + ".tmp" + std::to_string(::getpid()) + "-" +
                        std::to_string(counter.fetch_add(1));
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The rename is durable only once the folder entry is on disk; a failure here
// leaves the new content in place, so it is not reported.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[16384];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return bytes;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error) {
    if (fileNameOf(path).empty()) return fail(error, "未给出文件名：'" + path + "'");

    std::string temporaryPath;
    const int fd = createTemporary(path, temporaryPath);
    if (fd < 0) {
        return fail(error, "无法在文件夹 '" + folderOf(path) + "' 中建立临时文件：" +
                               systemError(errno));
    }

    // A replaced file keeps its permissions.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);

    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int code = written ? errno : writeErrno;
        std::error_code ignored;
        std::filesystem::remove(temporaryPath, ignored);
        return fail(error, "写入文件 '" + path + "' 失败：" + systemError(code));
    }

    std::error_code renameError;
    std::filesystem::rename(temporaryPath, path, renameError);
    if (renameError) {
        std::error_code ignored;
        std::filesystem::remove(temporaryPath, ignored);
        return fail(error, "无法以新内容替换文件 '" + path + "'：" + renameError.message());
    }
    syncFolder(folderOf(path));
    return true;
}

FileSetWriter::FileSetWriter(std::vector<std::string> targets) : targets_(std::move(targets)) {
    for (const std::string& path : targets_) {
        if (fileNameOf(path).empty()) {
            failAt(path, "未给出文件名：'" + path + "'");
            return;
        }
        std::error_code ignored;
        const auto status = std::filesystem::symlink_status(path, ignored);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
            !std::filesystem::is_symlink(status)) {
            failAt(path, "同名的文件夹或非普通文件占用了该文件名,无法以新内容替换");
            return;
        }
    }
}

FileSetWriter::~FileSetWriter() {
    if (fd_ >= 0) ::close(fd_);
    for (const int fd : unflushed_) ::close(fd);
    if (!committed_) removeTemporaries(0);
}

void FileSetWriter::failAt(const std::string& path, std::string text) {
    if (failed_) return;
    failed_ = true;
    failedPath_ = path;
    error_ = std::move(text);
}

void FileSetWriter::removeTemporaries(std::size_t from) {
    for (std::size_t i = from; i < temporaries_.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove(temporaries_[i], ignored);
    }
}

void FileSetWriter::begin() {
    if (failed()) return;
    if (fd_ >= 0 || temporaries_.size() >= targets_.size()) {
        return failAt(targets_.empty() ? std::string() : targets_.back(), "写入失败：文件多于所列");
    }
    const std::string& path = targets_[temporaries_.size()];
    std::string temporaryPath;
    const int fd = createTemporary(path, temporaryPath);
    if (fd < 0) {
        const int code = errno;
        return failAt(path, "无法在文件夹 '" + folderOf(path) + "' 中建立临时文件：" + systemError(code));
    }
    fd_ = fd;
    temporaries_.push_back(temporaryPath);
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
}

void FileSetWriter::put(std::string_view bytes) {
    if (failed() || fd_ < 0) return;
    if (!writeAll(fd_, bytes)) {
        const int code = errno;
        ::close(fd_);
        fd_ = -1;
        failAt(targets_[temporaries_.size() - 1], "写入失败：" + systemError(code));
    }
}

// The file's pages are sent to the disk now, while the next files are
// formed; commit() waits for them. Flushed together, the files' new blocks
// reach the journal in one commit instead of one commit a file.
void FileSetWriter::end() {
    if (failed() || fd_ < 0) return;
#if defined(SYNC_FILE_RANGE_WRITE)
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    unflushed_.push_back(std::exchange(fd_, -1));
}

bool FileSetWriter::commit(std::string* error, std::string* failedPath) {
    if (!failed() && (fd_ >= 0 || temporaries_.size() != targets_.size())) {
        failAt(targets_.empty() ? std::string() : targets_.back(), "写入失败：文件少于所列");
    }
    auto report = [&] {
        removeTemporaries(0);
        temporaries_.clear();
        if (failedPath) *failedPath = failedPath_;
        return fail(error, error_);
    };
    for (std::size_t i = 0; i < unflushed_.size(); ++i) {
        if (failed()) {
            ::close(unflushed_[i]);
            continue;
        }
        const bool synced = ::fsync(unflushed_[i]) == 0;
        const int syncErrno = errno;
        const bool closed = ::close(unflushed_[i]) == 0;
        if (!synced || !closed) failAt(targets_[i], "写入失败：" + systemError(synced ? errno : syncErrno));
    }
    unflushed_.clear();
    if (failed()) return report();

    for (std::size_t i = 0; i < targets_.size(); ++i) {
        std::error_code renameError;
        std::filesystem::rename(temporaries_[i], targets_[i], renameError);
        if (renameError) {
            // Not seen once the targets have been checked above; the files
            // before this one already hold their new content.
            removeTemporaries(i);
            committed_ = true;
            if (failedPath) *failedPath = targets_[i];
            return fail(error, "无法以新内容替换：" + renameError.message());
        }
    }
    committed_ = true;
    std::vector<std::string> folders;
    for (const std::string& path : targets_) {
        const std::string folder = folderOf(path);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    for (const std::string& folder : folders) syncFolder(folder);
    return true;
}

bool writeFileSet(const std::vector<FileContent>& files, std::string* error, std::string* failedPath) {
    std::vector<std::string> targets;
    targets.reserve(files.size());
    for (const FileContent& f : files) targets.push_back(f.path);
    FileSetWriter writer(std::move(targets));
    for (const FileContent& f : files) {
        if (writer.failed()) break;
        writer.begin();
        writer.put(f.bytes);
        writer.end();
    }
    return writer.commit(error, failedPath);
}

std::string unreadableReason(const std::string& path) {
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (!std::filesystem::exists(status)) return "文件不存在";
    if (std::filesystem::is_directory(status)) return "这是一个文件夹";
    return "无法读取";
}

std::string folderOf(const std::string& path) { return path.substr(0, afterLastSeparator(path)); }

std::string fileNameOf(const std::string& path) { return path.substr(afterLastSeparator(path)); }

}  // namespace tarvel
