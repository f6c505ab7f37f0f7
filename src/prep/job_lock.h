#pragma once
// One writer per job: a lock file beside the job database ("JOB.MDB.lock")
// holding the process number and the machine name of the program that edits
// it. A second program finds the lock and opens the job read-only. A lock
// whose program no longer runs on this machine (it crashed) is stale and is
// taken over.

#include <string>

namespace tarvel {

class JobLock {
  public:
    JobLock() = default;
    ~JobLock() { release(); }
    JobLock(const JobLock&) = delete;
    JobLock& operator=(const JobLock&) = delete;

    // Takes the lock of the job at `jobPath`; false when another running
    // program holds it (or the lock file cannot be written).
    bool acquire(const std::string& jobPath);
    // Removes the lock file when this object holds it.
    void release();
    bool held() const { return !lockPath_.empty(); }

    static std::string lockPathOf(const std::string& jobPath) { return jobPath + ".lock"; }
    // Whether a running program other than this one holds the job's lock.
    static bool heldByAnother(const std::string& jobPath);

  private:
    std::string lockPath_;
};

}  // namespace tarvel
