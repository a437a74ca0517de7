#include <ctime>
#include <new>

#include "contentlines/ByteSource.h"
#include "import/Merge.h"
#include "import/ReadInput.h"
#include "records/DataFile.h"
#include "tool/Calendars.h"
#include "tool/DataFileCheck.h"
#include "tool/DataFileChoice.h"
#include "tool/Run.h"

namespace {

// Minutes east of UTC of the system's local time at a UTC time.
int SystemLocalOffset(long long utc)
{
    const std::time_t t = static_cast<std::time_t>(utc);
    std::tm local{}, gm{};
    const std::tm* l = std::localtime(&t);
    if (!l)
        return 0;
    local = *l;
    const std::tm* g = std::gmtime(&t);
    if (!g)
        return 0;
    gm = *g;
    const int days = local.tm_year != gm.tm_year ? (local.tm_year > gm.tm_year ? 1 : -1) : local.tm_yday - gm.tm_yday;
    return days * 1440 + (local.tm_hour - gm.tm_hour) * 60 + (local.tm_min - gm.tm_min);
}

}  // namespace

std::string ImportSummary(const ImportMerge::Counts& now, const ImportMerge::Counts& since)
{
    const int oneOff = now.oneOff - since.oneOff;
    return std::to_string(now.added - since.added) + " added, " + std::to_string(now.already - since.already) +
           " already there, " + std::to_string(now.skipped - since.skipped) + " skipped" +
           (oneOff ? ", " + std::to_string(oneOff) + " appointments passed over (not yearly)" : std::string());
}

namespace {

ReadContext ContextOf(const ImportOptions& options)
{
    ReadContext context;
    context.localOffset = options.localOffset ? options.localOffset : SystemLocalOffset;
    const long long now = static_cast<long long>(std::time(nullptr));
    const long long localDays = (now + context.localOffset(now) * 60LL) / 86400;
    context.today = DateOfDays(localDays);
    return context;
}

// Once, at the end: the holidays that move with Easter (each skipped above
// with its reason) are shown by Tolvari itself, every year, for its
// countries.
void HolidaysHint(const std::vector<ListedFeast>& feasts, const ImportPrint& print)
{
    const std::vector<std::string> countries = CountriesOfFeasts(feasts);
    if (countries.empty() || countries.size() > 2)
        return;
    print("Note: Tolvari shows the holidays that move with Easter itself, every year, with the line HOLIDAYS=" +
              countries[0] + (countries.size() > 1 ? " (or HOLIDAYS=" + countries[1] + ")" : std::string()) +
              " in Tolvari.ini.",
          false);
}

// One input merged, with a line of what it gave; false (and said) if it
// cannot be read whole or is no contacts or calendar file.
bool MergeInput(const std::string& input, const ReadContext& context, ImportMerge& merge,
                std::vector<ListedFeast>& feasts, const ImportPrint& print)
{
    FileSource source(input);
    if (!source.IsOpen()) {
        print("Error: Can't open file " + input + ". Nothing was imported.", true);
        return false;
    }
    const ImportMerge::Counts before = merge.Done();
    const ReadResult read = ReadInput(source, context, [&](const ImportEntry& e) { merge.Add(e, input, print); });
    feasts.insert(feasts.end(), read.feasts.begin(), read.feasts.end());
    std::string error;
    if (source.Failed())
        error = "Can't read file " + input + " to its end.";
    else if (read.format == InputFormat::Unknown)
        error =
            input + " is not a vCard (.vcf) or iCalendar (.ics) file: it has no BEGIN:VCARD or BEGIN:VCALENDAR line.";
    else if (read.items == 0)
        error = input + (read.format == InputFormat::VCard ? " holds no contact card." : " holds no calendar event.");
    if (!error.empty()) {
        print("Error: " + error + " Nothing was imported.", true);
        return false;
    }
    const char* what = read.format == InputFormat::VCard ? " card" : " event";
    print(input + ": " + std::to_string(read.items) + what + (read.items == 1 ? "" : "s") +
              " read: " + ImportSummary(merge.Done(), before),
          false);
    return true;
}

int Run(const ImportOptions& options, const ImportPrint& print, bool& written)
{
    const std::string dataPath = DataFileOf(options);
    // Held from the read to the replace: another import waits its turn and
    // then merges into what this one wrote. A dry run writes nothing.
    DataFileLock lock;
    if (!options.dryRun && !LockedForImport(lock, dataPath, options.waitMs, print))
        return 1;
    RecordList list;
    filesys::FileSnapshot read;
    if (RefusedWhileRunning(dataPath, options.dryRun, print) || !ReadCheckedDataFile(dataPath, list, read, print))
        return 1;
    const ReadContext context = ContextOf(options);
    const int removed = RemoveCalendars(options, list, print);
    ImportMerge merge(list);
    AddCalendars(options, list, merge, print);
    std::vector<ListedFeast> feasts;
    for (const std::string& input : options.inputs) {
        if (!MergeInput(input, context, merge, feasts, print))
            return 1;
    }
    if (options.dryRun) {
        print("Dry run: " + dataPath + " was not changed.", false);
    } else if (merge.Done().added > 0 || removed > 0) {
        // Tolvari may have been started since the file was read.
        if (RefusedWhileRunning(dataPath, false, print) || !WriteImported(dataPath, list, read, print))
            return 1;
        written = true;
    }
    HolidaysHint(feasts, print);
    print((removed ? std::to_string(removed) + " removed, " : std::string()) + ImportSummary(merge.Done()), false);
    PrintCalendarNotes(options, list, print);
    return 0;
}

}  // namespace

int RunImport(const ImportOptions& options, const ImportPrint& print)
{
    bool written = false;
    try {
        return Run(options, print, written);
    } catch (const std::bad_alloc&) {
        return MemoryRanOut(written, "Error: Not enough memory to import these files. Nothing was imported.", print);
    }
}
