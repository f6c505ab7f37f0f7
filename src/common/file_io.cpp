#include "file_io.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

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

std::string folderOf(const std::string& path) { return path.substr(0, afterLastSeparator(path)); }

std::string fileNameOf(const std::string& path) { return path.substr(afterLastSeparator(path)); }

}  // namespace tarvel
