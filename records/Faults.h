// The seam through which tests make the file layer's calls fail as the
// operating system would. Every call of the layer (records/FileSystem_*.cpp,
// running/RunningMark_*.cpp) that can fail asks first; FaultFor gives 0, or
// the error code the call is to fail with: usual, the code the system really
// gives there, unless the test chose another (EINTR, say).
//
// The programs link records/Faults.cpp, where nothing ever fails. The unit
// tests and the test variant of Tolvari.exe link tests/faults/FaultSeam.cpp
// instead, which counts the calls and fails the one a test names.
#pragma once

namespace filesys {

enum class FaultCall {
    Open,     // a file opened or made
    Size,     // what the system knows of a file: its size, identity, kind or attributes
    Read,     // bytes read
    Write,    // bytes written
    Flush,    // the bytes forced to the disk
    Replace,  // the new file put in place of the old one (its attributes set, the rename)
    Delete,   // a file removed
    Mark,     // the mark of a running Tolvari and the lock of a writer
    Count
};

int FaultFor(FaultCall call, int usual);

}  // namespace filesys
