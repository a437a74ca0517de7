// While Tolvari runs, its data file is marked as in use, and the import
// refuses to write a marked file: the program writes its whole list over
// the file each time its editor closes, which would drop what was imported.
//
// On Windows the mark is a named kernel object, so it goes with the process
// however that ends. Its name comes from the data file's full path, so only
// a Tolvari with the same data file counts, however the name was spelt. The
// native build has no Tolvari to run: nothing is marked there.
#pragma once

#include <string>

// The object's name for a file's key (filesys::SameFileKey): a hash, as
// such a name may hold no "\" and is limited in length.
std::string RunningMarkName(const std::string& fileKey);

class RunningMark {
public:
    RunningMark() = default;
    ~RunningMark();
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

    // Marks the file (a name as records/FileSystem.h takes it) until this
    // object goes; a failure leaves it unmarked, the program runs on.
    void Mark(const std::string& path);

private:
    void* m_handle = nullptr;
};

// True while a running Tolvari has the file marked.
bool IsMarkedRunning(const std::string& path);
