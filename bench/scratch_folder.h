#pragma once
// A folder of its own for one benchmark process, removed when it is done.
// Benchmarks of several builds may run at once on one machine; a shared
// folder name would let one process overwrite or delete the input files of
// another, which then times a different frame or stops.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace tarvel::bench {

// Memory-backed storage where there is one, so that a timing is the work and
// not the disk; else the system's temporary folder.
inline std::filesystem::path memoryBackedFolder() {
    std::error_code ec;
    return std::filesystem::exists("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
}

class ScratchFolder {
public:
    // A new folder `stem`-<random number> inside `base`.
    ScratchFolder(const std::filesystem::path& base, const std::string& stem) {
        std::error_code ec;
        std::random_device random;
        do {
            path_ = base / (stem + "-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_, ec) && !ec);  // false: name taken
        if (ec) throw std::filesystem::filesystem_error("no scratch folder", path_, ec);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace tarvel::bench
