#include <ctime>
#include <new>
#include <stdexcept>

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

int Export(const ImportOptions& options, const ImportPrint& print, bool& written)
{
    const std::string dataPath = DataFileOf(options), outPath = options.exportFile;
    RecordList list;
    if (!LoadDataFile(dataPath, list)) {
        print("Error: Can't open file " + dataPath + ". Nothing was exported.", true);
        return 1;
    }
    ExportCounts counts;
    const std::string text =
        FormatICalendar(list, ExportChoice{options.exportHolidays, options.exportCalendar, options.remindDays},
                        UtcStamp(), print, counts);
    std::string rest = ", " + std::to_string(counts.skipped) + " skipped";
    if (counts.holidaysLeft > 0)
        rest += ", " + std::to_string(counts.holidaysLeft) + " holidays left out (--holidays)";
    if (counts.calendarLeft > 0)
        rest += ", " + std::to_string(counts.calendarLeft) + " calendar entries left out (--calendar)";
    // A calendar file must hold at least one event.
    if (counts.exported == 0) {
        print("Error: nothing to export from " + dataPath + ": 0 exported" + rest + ". " + options.exportFile +
                  " was not written.",
              true);
        return 1;
    }
    if (!filesys::WriteFileAtomically(outPath, text)) {
        print("Error: Can't write file " + options.exportFile + ". It was not changed; nothing was exported.", true);
        return 1;
    }
    written = true;
    print(std::to_string(counts.exported) + " exported to " + options.exportFile + rest, false);
    return 0;
}

}  // namespace

int RunExport(const ImportOptions& options, const ImportPrint& print)
{
    bool written = false;
    try {
        return Export(options, print, written);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
        // A text longer than a 32-bit program can hold: memory too.
    }
    return MemoryRanOut(written, "Error: Not enough memory to export; the calendar file was not changed.", print);
}
