#include "import/Import.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <new>

#include "app/Settings.h"
#include "countries/Countries.h"
#include "import/Calendars.h"
#include "import/ContentLines.h"
#include "import/Cp1250.h"
#include "records/Atoi.h"
#include "records/DataFile.h"
#include "records/FileSystem.h"
#include "running/RunningMark.h"

namespace {

std::string Key(std::string_view day, std::string_view month, std::string_view year, std::string_view name)
{
    std::string key(day);
    key.append(".").append(month).append(" ").append(year).append(" ").append(name);
    return key;
}

// A name fit for one line of the data file, in its code page.
std::string RecordName(const std::string& utf8, bool& lossy)
{
    std::string name = cp1250::FromUtf8(utf8, &lossy);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

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

// Reads the data file into list, if it is one: every line a record, a
// header or blank, so that writing it back keeps all it holds.
bool ReadDataFile(const std::string& path, RecordList& list, const ImportPrint& print)
{
    auto bytes = std::make_shared<std::string>();
    std::string error;
    try {
        const filesys::ReadStatus status = filesys::ReadFileBelow(path, *bytes, kMaxDataFileBytes);
        if (status == filesys::ReadStatus::CannotRead)
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

// A running Tolvari writes its own list over the file when its editor
// closes. A dry run writes nothing, so it only says so.
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

// The codes of --add-calendar, for messages.
std::string CodeList()
{
    std::string codes;
    for (const std::string& code : CountryCodes())
        codes += (codes.empty() ? "" : " ") + code;
    return codes;
}

}  // namespace

bool ParseImportArgs(const std::vector<std::string>& args, ImportOptions& options, std::string& error)
{
    CountryCalendar calendar;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h" || arg == "/?")
            options.help = true;
        else if (arg == "--dry-run")
            options.dryRun = true;
        else if (arg == "--no-age-without-year")
            options.noAgeWithoutYear = true;
        else if (arg == "--data" && i + 1 < args.size())
            options.dataFile = args[++i];
        else if (arg == "--data")
            error = "--data needs the data file's name";
        else if (arg == "--export" && i + 1 < args.size())
            options.exportFile = args[++i];
        else if (arg == "--holidays")
            options.exportHolidays = true;
        else if (arg == "--calendar")
            options.exportCalendar = true;
        else if (arg == "--remind-days" && i + 1 < args.size() && args[i + 1].size() <= 2 &&
                 args[i + 1].find_first_not_of("0123456789") == std::string::npos && AtoiSaturating(args[i + 1]) <= 30)
            options.remindDays = AtoiSaturating(args[++i]);
        else if ((arg == "--add-calendar" || arg == "--remove-calendar") && i + 1 < args.size() &&
                 FindCountryCalendar(args[i + 1], calendar))
            (arg == "--add-calendar" ? options.addCalendars : options.removeCalendars).push_back(args[++i]);
        else if (arg == "--add-calendar" || arg == "--remove-calendar")
            error = arg +
                    (i + 1 < args.size() ? " " + args[i + 1] + ": no list for that country" : " needs a country") +
                    "; the codes are " + CodeList();
        else if (arg == "--remind-days")
            error = "--remind-days needs a number of days from 0 to 30";
        else if (arg == "--export")
            error = "--export needs the name of the .ics file to write";
        else if (arg.size() > 1 && arg[0] == '-')
            error = "unknown option " + arg;
        else
            options.inputs.push_back(arg);
        if (!error.empty())
            return false;
    }
    const std::string& out = options.exportFile;
    const bool exporting = !out.empty();
    if (options.help)
        return true;
    if (exporting && (out.size() < 5 || UpperAscii(out.substr(out.size() - 4)) != ".ICS"))
        error = "--export needs the name of the .ics file to write";
    else if (exporting && (options.dryRun || !options.inputs.empty() || !options.addCalendars.empty() ||
                           !options.removeCalendars.empty()))
        error = "--export writes the data file's entries; it takes no input file, calendar or --dry-run";
    else if (!exporting && (options.exportHolidays || options.exportCalendar || options.remindDays >= 0))
        error = "--holidays, --calendar and --remind-days go with --export";
    else if (!exporting && options.inputs.empty() && options.addCalendars.empty() && options.removeCalendars.empty())
        error = "no .vcf or .ics file or --add-calendar given";
    return error.empty();
}

std::string ImportUsage(const std::string& program)
{
    return "Usage: " + program +
           " [--dry-run] [--data FILE] [--no-age-without-year] INPUT.vcf|INPUT.ics...\n"
           "       " +
           program +
           " [--dry-run] [--data FILE] [--remove-calendar CC] --add-calendar CC\n"
           "       " +
           program +
           " --export OUT.ics [--data FILE] [--holidays] [--calendar] [--remind-days N]\n"
           "Adds the birthdays and anniversaries of contacts (.vcf) and the yearly events of\n"
           "calendars (.ics) to the data file.\n"
           "  --dry-run              show what would be added, change nothing\n"
           "  --data FILE            the data file; without it FILE= of Tolvari.ini in the\n"
           "                         current folder, else Tolvari.dat\n"
           "  --no-age-without-year  a date without a year is added as 8888, shown without\n"
           "                         age (the default)\n"
           "  --add-calendar CC      adds the name days and fixed-date holidays of a\n"
           "                         country: " +
           CodeList() +
           "\n"
           "  --remove-calendar CC   takes that country's entries out (before adding)\n"
           "Or writes the birthdays and anniversaries of the data file to an iCalendar\n"
           "file as yearly all-day events, for phone, web and desktop calendars:\n"
           "  --export OUT.ics       the file to write (replaced if it exists)\n"
           "  --holidays             the holidays (9999) too\n"
           "  --calendar             the calendar entries, such as name days (0000), too\n"
           "  --remind-days N        a reminder N days before (0 to 30), at 09:00";
}

ImportMerge::ImportMerge(RecordList& list) : m_list(list)
{
    for (int i = 0; i < list.m_nCount; ++i)
        m_lines.insert(Key(list.m_arrDay[i], list.m_arrMonth[i], list.m_arrYear[i], list.m_arrName[i]));
}

void ImportMerge::Add(const std::vector<ImportEntry>& entries, const std::string& source, const ImportPrint& print)
{
    for (const ImportEntry& e : entries)
        Add(e, source, print);
}

void ImportMerge::Add(const ImportEntry& e, const std::string& source, const ImportPrint& print)
{
    if (e.oneOff) {
        ++m_counts.oneOff;
        return;
    }
    if (!e.skipped.empty()) {
        ++m_counts.skipped;
        print("skipped" + (e.name.empty() ? std::string() : " \"" + e.name + "\"") + " in " + source + ": " + e.skipped,
              false);
        return;
    }
    bool lossy = false;
    const std::string name = RecordName(e.name, lossy);
    char day[4], month[4];
    std::snprintf(day, sizeof day, "%02d", e.day % 100);
    std::snprintf(month, sizeof month, "%02d", e.month % 100);
    const std::string line = Key(day, month, e.year, name);
    if (!m_lines.insert(line).second) {
        ++m_counts.already;
        return;
    }
    m_list.m_arrDay.Add(day);
    m_list.m_arrMonth.Add(month);
    m_list.m_arrYear.Add(e.year);
    m_list.m_arrName.Add(name);
    ++m_list.m_nCount;
    ++m_counts.added;
    print(cp1250::ToUtf8(line), false);
    if (lossy)
        print("  (a character that code page 1250 cannot hold became \"?\")", false);
}

std::string ImportMerge::Summary() const
{
    return Summary(Counts());
}

std::string ImportMerge::Summary(const Counts& since) const
{
    const int oneOff = m_counts.oneOff - since.oneOff;
    return std::to_string(m_counts.added - since.added) + " added, " +
           std::to_string(m_counts.already - since.already) + " already there, " +
           std::to_string(m_counts.skipped - since.skipped) + " skipped" +
           (oneOff ? ", " + std::to_string(oneOff) + " appointments passed over (not yearly)" : std::string());
}

ReadResult ReadInput(ByteSource& source, const ReadContext& context, const EntrySink& sink)
{
    ContentLineReader reader(source);
    ReadResult result;
    ContentLine line;
    while (result.format == InputFormat::Unknown && reader.Next(line)) {
        if (line.name != "BEGIN")
            continue;
        const std::string kind = UpperAscii(line.value);
        if (kind == "VCARD") {
            result.format = InputFormat::VCard;
            result.items = ReadVCardLines(reader, sink);
        } else if (kind == "VCALENDAR") {
            result.format = InputFormat::ICalendar;
            result.items = ReadICalendarLines(reader, context, sink);
        }
    }
    return result;
}

std::vector<ImportEntry> ReadEntries(std::string_view text, const ReadContext& context)
{
    TextSource source(text);
    std::vector<ImportEntry> entries;
    ReadInput(source, context, [&](const ImportEntry& e) { entries.push_back(e); });
    return entries;
}

std::string DataFileOf(const ImportOptions& options)
{
    if (!options.dataFile.empty())
        return options.dataFile;
    // As the main program finds it, except that a missing settings file
    // means the default name.
    Settings settings = DefaultSettings(0);
    std::string ini;
    if (filesys::ReadWholeFile(SettingsFileName(0), ini))
        ApplySettingsText(settings, ini);
    return options.utf8FileNames ? cp1250::ToUtf8(settings.m_strDataFile) : settings.m_strDataFile;
}

namespace {

int Run(const ImportOptions& options, const ImportPrint& print)
{
    const std::string dataPath = DataFileOf(options);

    RecordList list;
    if (RefusedWhileRunning(dataPath, options.dryRun, print) || !ReadDataFile(dataPath, list, print))
        return 1;
    ReadContext context;
    context.localOffset = options.localOffset ? options.localOffset : SystemLocalOffset;
    const long long now = static_cast<long long>(std::time(nullptr));
    const long long localDays = (now + context.localOffset(now) * 60LL) / 86400;
    context.today = DateOfDays(localDays);
    const int removed = RemoveCalendars(options, list, print);
    ImportMerge merge(list);
    AddCalendars(options, list, merge, print);
    for (const std::string& input : options.inputs) {
        FileSource source(input);
        if (!source.IsOpen()) {
            print("Error: Can't open file " + input + ". Nothing was imported.", true);
            return 1;
        }
        const ImportMerge::Counts before = merge.Done();
        const ReadResult read = ReadInput(source, context, [&](const ImportEntry& e) { merge.Add(e, input, print); });
        std::string error;
        if (source.Failed())
            error = "Can't read file " + input + " to its end.";
        else if (read.format == InputFormat::Unknown)
            error = input +
                    " is not a vCard (.vcf) or iCalendar (.ics) file: it has no BEGIN:VCARD or BEGIN:VCALENDAR line.";
        else if (read.items == 0)
            error =
                input + (read.format == InputFormat::VCard ? " holds no contact card." : " holds no calendar event.");
        if (!error.empty()) {
            print("Error: " + error + " Nothing was imported.", true);
            return 1;
        }
        const char* what = read.format == InputFormat::VCard ? " card" : " event";
        print(input + ": " + std::to_string(read.items) + what + (read.items == 1 ? "" : "s") +
                  " read: " + merge.Summary(before),
              false);
    }

    if (options.dryRun) {
        print("Dry run: " + dataPath + " was not changed.", false);
    } else if (merge.Added() > 0 || removed > 0) {
        // Tolvari may have been started since the file was read.
        if (RefusedWhileRunning(dataPath, false, print))
            return 1;
        if (!SaveDataFile(dataPath, list, 0)) {
            print("Error: Can't write file " + dataPath + ". It was not changed; nothing was imported.", true);
            return 1;
        }
    }
    print((removed ? std::to_string(removed) + " removed, " : std::string()) + merge.Summary(), false);
    PrintCalendarNotes(options, list, print);
    return 0;
}

}  // namespace

int RunImport(const ImportOptions& options, const ImportPrint& print)
{
    try {
        return Run(options, print);
    } catch (const std::bad_alloc&) {
        print("Error: Not enough memory to read these files. Nothing was imported.", true);
        return 1;
    }
}
