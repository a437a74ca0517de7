#include "tool/DataFileCheck.h"

#include <memory>
#include <new>

#include "contentlines/Cp1250.h"
#include "records/DataFile.h"
#include "records/FileSystem.h"
#include "running/RunningMark.h"

namespace {

// A line of a file, fit to be shown in a message.
std::string Shown(std::string_view line)
{
    std::string shown(line.substr(0, 60));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    }
    // A file taken for the data file by mistake is most often UTF-8.
    return "\"" + (cp1250::IsUtf8(shown) ? shown : cp1250::ToUtf8(shown)) + (line.size() > 60 ? "...\"" : "\"");
}

// With CR alone as a line end too: the first line that is no record, header
// or blank, and its number. False if there is none, so that the file is a
// data file whose line ends are CR alone.
bool FindForeignLineAnyEnds(std::string_view bytes, size_t& number, std::string_view& line)
{
    number = 0;
    for (size_t start = 0; start <= bytes.size();) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        ++number;
        size_t unused = 0;
        line = bytes.substr(start, end - start);
        if (FindForeignLine(line, unused, line))
            return true;
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return false;
}

// Why a data file cannot be opened when it is no file at all; else "", as
// the system's refusal has no more to say.
std::string NotAFile(const std::string& path)
{
    const filesys::FileKind kind = filesys::KindOf(path);
    return kind == filesys::FileKind::Folder  ? "Error: " + path + " is a folder, not a data file."
           : kind == filesys::FileKind::Other ? "Error: " + path + " is a device or a pipe, not a data file."
                                              : std::string();
}

}  // namespace

bool ReadCheckedDataFile(const std::string& path, RecordList& list, filesys::FileSnapshot& read,
                         const ImportPrint& print)
{
    auto bytes = std::make_shared<std::string>();
    std::string error;
    try {
        const filesys::ReadStatus status = filesys::ReadFileBelow(path, *bytes, kMaxDataFileBytes, &read);
        if (status == filesys::ReadStatus::CannotRead && (error = NotAFile(path)).empty())
            error = "Error: Can't open file " + path + ".";
        else if (status == filesys::ReadStatus::TooLarge)
            error = "Error: File " + path + " is too large; a data file must be smaller than 2 GB.";
    } catch (const std::bad_alloc&) {
        error = "Error: Not enough memory to read file " + path + ".";
    }
    size_t number = 0;
    std::string_view line;
    if (error.empty() && FindForeignLine(*bytes, number, line)) {
        // A line holding a CR is a data file of CR line ends only when every
        // piece between them is a line of a data file.
        bool crEnds = line.find('\r') != std::string_view::npos;
        size_t pieceNumber = 0;
        std::string_view piece;
        if (crEnds && FindForeignLineAnyEnds(*bytes, pieceNumber, piece))
            crEnds = false, number = pieceNumber, line = piece;
        const std::string where = "line " + std::to_string(number) + ": " + Shown(line);
        error =
            crEnds ? "Error: " + path + " has line ends of CR alone (" + where +
                         "); Tolvari reads CR LF. Save it with Windows line ends first."
                   : "Error: " + path + " is not a Tolvari data file (" + where + " is neither an entry nor a header).";
    }
    if (!error.empty()) {
        print(error + " Nothing was imported.", true);
        return false;
    }
    list.m_nCount = AppendRecords(list, std::move(bytes));
    return true;
}

bool RefusedWhileRunning(const std::string& path, bool dryRun, const ImportPrint& print)
{
    if (!IsMarkedRunning(path))
        return false;
    if (dryRun) {
        print("Note: Tolvari is running with " + path + "; close it before you import.", false);
        return false;
    }
    print("Error: Tolvari is running with " + path +
              ", and would write over what is imported. Close Tolvari and import again; nothing was imported.",
          true);
    return true;
}

bool LockedForImport(DataFileLock& lock, const std::string& path, unsigned waitMs, const ImportPrint& print)
{
    DataFileLock::Result result = lock.Lock(path, 0);
    if (result == DataFileLock::Result::Busy) {
        print("Waiting for another import into " + path + " to finish...", false);
        result = lock.Lock(path, waitMs);
    }
    if (result == DataFileLock::Result::Locked)
        return true;
    if (result == DataFileLock::Result::Busy) {
        print("Error: another import is still writing " + path + " (waited " + std::to_string((waitMs + 999) / 1000) +
                  " s). Nothing was imported; import again when it is done.",
              true);
    } else {
        const std::string why = NotAFile(path);
        print((why.empty() ? "Error: Can't open file " + path + " to keep other writers out while importing." : why) +
                  " Nothing was imported.",
              true);
    }
    return false;
}

bool WriteImported(const std::string& path, const RecordList& list, const filesys::FileSnapshot& read,
                   const ImportPrint& print)
{
    using filesys::WriteStatus;
    const WriteStatus status = filesys::ReplaceFileBytes(path, FormatDataFile(list, 0), &read);
    if (status == WriteStatus::Written)
        return true;
    // Another program wrote it, or put something else in its place, since
    // it was read; unless only the look at it failed.
    if ((status == WriteStatus::Changed && filesys::SnapshotOf(path) != read) || status == WriteStatus::NotAFile)
        print("Error: " + path + " changed while importing; nothing was written. Import again.", true);
    else
        print("Error: Can't write file " + path + (status == WriteStatus::ReadOnly ? ": it is read-only" : "") +
                  ". It was not changed; nothing was imported.",
              true);
    return false;
}
