#include "prep/job_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace tarvel {

namespace {

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "?";
    return name;
}

// The holder named in a lock file: process number and machine.
struct Holder {
    long pid = 0;
    std::string host;
};

bool readHolder(const std::string& lockPath, Holder* holder) {
    std::ifstream in(lockPath);
    if (!in) return false;
    in >> holder->pid >> holder->host;
    return true;
}

// A holder still running. A lock from another machine (a job on a shared
// folder) cannot be tested and counts as running.
bool running(const Holder& h) {
    if (h.host != hostName()) return true;
    if (h.pid <= 0) return false;
    return kill(static_cast<pid_t>(h.pid), 0) == 0 || errno == EPERM;
}

}  // namespace

bool JobLock::acquire(const std::string& jobPath) {
    release();
    const std::string lockPath = lockPathOf(jobPath);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            const std::string text = std::to_string(getpid()) + " " + hostName() + "\n";
            const bool written = write(fd, text.data(), text.size()) ==
                                 static_cast<ssize_t>(text.size());
            close(fd);
            if (!written) {
                std::remove(lockPath.c_str());
                return false;
            }
            lockPath_ = lockPath;
            return true;
        }
        if (errno != EEXIST) return false;
        Holder holder;
        if (readHolder(lockPath, &holder) && holder.pid == getpid() && holder.host == hostName()) {
            return false;  // this program holds it through another lock object
        }
        if (readHolder(lockPath, &holder) && running(holder)) return false;
        std::remove(lockPath.c_str());  // stale: its program ended without removing it
    }
    return false;
}

void JobLock::release() {
    if (lockPath_.empty()) return;
    std::remove(lockPath_.c_str());
    lockPath_.clear();
}

bool JobLock::heldByAnother(const std::string& jobPath) {
    Holder holder;
    if (!readHolder(lockPathOf(jobPath), &holder)) return false;
    if (holder.pid == getpid() && holder.host == hostName()) return false;
    return running(holder);
}

}  // namespace tarvel
