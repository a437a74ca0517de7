// The run of --export: from the data file to the calendar file, all or
// nothing, each failure told as such.
#include <ctime>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

#include "app/Settings.h"
#include "calendar/MovableHolidays.h"
#include "export/Export.h"
#include "records/DataFile.h"
#include "records/FileSystem.h"
#include "tool/DataFileChoice.h"
#include "tool/Run.h"

namespace {

std::string UtcStamp()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* utc = std::gmtime(&now);
    char stamp[20] = "19700101T000000Z";
    if (utc)
        std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", utc);
    return stamp;
}

int LocalYear()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local ? local->tm_year + 1900 : 1970;
}

// The country of the moving holidays, as the window finds it: HOLIDAYS= of
// the settings file in the current folder.
const HolidayCountry* SettingsCountry()
{
    Settings settings = DefaultSettings(0);
    std::string ini;
    if (filesys::ReadFileBelow(SettingsFileName(0), ini, kMaxSettingsFileBytes) == filesys::ReadStatus::Read)
        ApplySettingsText(settings, ini);
    return FindHolidayCountry(settings.m_strHolidays);
}

std::string WriteError(filesys::SafeWriter::Failure failure, const std::string& out)
{
    using Failure = filesys::SafeWriter::Failure;
    const std::string why =
        failure == Failure::Create     ? "Can't make a file in the folder of " + out
        : failure == Failure::Write    ? "Can't write file " + out + " to its end (is the disk full?)"
        : failure == Failure::NotAFile ? "Can't replace " + out + ": it is a folder, a device or a pipe"
        : failure == Failure::ReadOnly ? "Can't replace file " + out + ": it is read-only"
                                       : "Can't replace file " + out + " (is it open in another program?)";
    return "Error: " + why + ". It was not changed; nothing was exported.";
}

// dataPath, loaded and committed tell a handler of a memory failure how far
// it came.
int Export(const ImportOptions& options, const ImportPrint& print, std::string& dataPath, bool& loaded, bool& committed)
{
    dataPath = DataFileOf(options);
    const std::string& outPath = options.exportFile;
    // By identity: another name of the data file (a link, another spelling
    // of its path) is the data file too.
    if (filesys::SnapshotOf(dataPath).SameFile(filesys::SnapshotOf(outPath))) {
        print("Error: " + outPath + " is the data file " + dataPath +
                  "; write the calendar to another file. Nothing was exported.",
              true);
        return 2;
    }
    RecordList list;
    bool tooLarge = false;
    if (!LoadDataFile(dataPath, list, &tooLarge)) {
        print("Error: " +
                  (tooLarge ? "File " + dataPath + " is too large; a data file must be smaller than 2 GB."
                            : "Can't open file " + dataPath + ".") +
                  " Nothing was exported.",
              true);
        return 1;
    }
    loaded = true;
    ExportChoice choice;
    choice.holidays = options.exportHolidays;
    choice.calendar = options.exportCalendar;
    choice.remindDays = options.remindDays;
    if (choice.holidays) {
        choice.country = SettingsCountry();
        choice.firstYear = LocalYear();
    }
    // The output file is made when the first piece is ready: with nothing
    // to export, none is.
    std::optional<filesys::SafeWriter> writer;
    ExportCounts counts;
    const bool written = FormatICalendar(list, choice, UtcStamp(), print, counts, [&](std::string_view text) {
        if (!writer)
            writer.emplace(outPath);
        return writer->Write(text);
    });
    std::string rest = ", " + std::to_string(counts.skipped) + " skipped";
    if (counts.holidaysLeft > 0)
        rest += ", " + std::to_string(counts.holidaysLeft) + " holidays left out (--holidays)";
    if (counts.calendarLeft > 0)
        rest += ", " + std::to_string(counts.calendarLeft) + " calendar entries left out (--calendar)";
    // A calendar file must hold at least one event.
    if (written && counts.exported == 0) {
        print(
            "Error: nothing to export from " + dataPath + ": 0 exported" + rest + ". " + outPath + " was not written.",
            true);
        return 1;
    }
    if (!written || !writer->Commit()) {
        print(WriteError(writer->Failed(), outPath), true);
        return 1;
    }
    committed = true;
    std::string moving;
    if (counts.moving > 0)
        moving = " (" + std::to_string(counts.moving) +
                 " of them holidays that move with Easter, HOLIDAYS=" + HolidayCountryCode(*choice.country) + ", " +
                 std::to_string(choice.firstYear) + " to " +
                 std::to_string(choice.firstYear + kMovingHolidayYears - 1) + ")";
    print(std::to_string(counts.exported) + " exported to " + outPath + moving + rest, false);
    return 0;
}

}  // namespace

int RunExport(const ImportOptions& options, const ImportPrint& print)
{
    std::string dataPath = "the data file";
    bool loaded = false, committed = false;
    try {
        return Export(options, print, dataPath, loaded, committed);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
        // A string longer than a 32-bit program can hold: memory too.
    }
    if (committed)
        return MemoryRanOut(true, "", print);
    try {
        print(loaded ? "Error: Not enough memory to export " + dataPath + ". " + options.exportFile +
                           " was not changed; nothing was exported."
                     : "Error: Not enough memory to read " + dataPath + ". Nothing was exported.",
              true);
    } catch (...) {
    }
    return 1;
}
