// While Tolvari runs, its data file is marked as in use, and the import
// refuses to write a marked file: the program writes its whole list over
// the file each time its editor closes, which would drop what was imported.
//
// The mark belongs to the file, not to its name: every name of it (another
// drive letter, a UNC path, a hard or symbolic link) finds it. On Windows it
// is a named kernel object, keyed on the file's identity (filesys::FileKey),
// so it goes with the process however that ends; on POSIX it is a shared
// lock on the file's first byte. A save puts a new file in place, so the
// mark is made again after each one.
//
// A program that rewrites the data file (the import, Tolvari's editor)
// holds a DataFileLock from its read to its replace, so that two writers
// take turns instead of one losing the other's entries. Tolvari marks the
// file under the lock before it reads, and the import checks for the mark
// under the lock before it reads and again before it replaces:
//
//     DataFileLock lock;
//     if (lock.Lock(path, 10000) != DataFileLock::Result::Locked) ...   // refuse: busy or failed
//     if (IsMarkedRunning(path)) ...                                    // refuse: Tolvari runs
//     filesys::FileSnapshot read;
//     filesys::ReadFileBelow(path, bytes, kMaxDataFileBytes, &read);
//     ...                                                               // merge
//     if (IsMarkedRunning(path)) ...                                    // refuse
//     filesys::ReplaceFileBytes(path, newBytes, &read);                 // Changed: refuse
//
// Writers that know nothing of the lock are caught by the snapshot check.
#pragma once

#include <cstdint>
#include <string>

// The kernel objects' names for a file's key: a hash, as such a name may hold
// no "\" and is limited in length.
std::string RunningMarkName(const std::string& fileKey);
std::string DataFileLockName(const std::string& fileKey);

class RunningMark {
public:
    RunningMark() = default;
    ~RunningMark();
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

    // Marks the file now under this name (a name as records/FileSystem.h
    // takes it) until this object goes or marks again; the mark of before
    // goes then. A failure, of memory too, leaves the file unmarked: the
    // program runs on.
    void Mark(const std::string& path) noexcept;

private:
    std::intptr_t m_held = -1;
};

// True while a running Tolvari has the file marked.
bool IsMarkedRunning(const std::string& path);

class DataFileLock {
public:
    enum class Result {
        Locked,  // held until Unlock or the end of this object; also for a file that does not exist
        Busy,    // another writer held it for the whole wait
        Failed,  // the system refused the lock
    };
    DataFileLock() = default;
    ~DataFileLock() { Unlock(); }
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;

    // Locks the file now under this name, waiting for another writer at
    // most waitMs milliseconds. A writer that replaced the file while this
    // one waited has made a new file: that one is locked then.
    Result Lock(const std::string& path, unsigned waitMs) noexcept;
    void Unlock() noexcept;

private:
    std::intptr_t m_held = -1;
};
