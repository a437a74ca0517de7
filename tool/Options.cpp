#include "tool/Options.h"

#include "contentlines/Escapes.h"
#include "countries/Countries.h"
#include "records/Atoi.h"

namespace {

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
           "  --holidays             the holidays (9999) too, and those that move with\n"
           "                         Easter (HOLIDAYS= of Tolvari.ini) for eleven years\n"
           "  --calendar             the calendar entries, such as name days (0000), too\n"
           "  --remind-days N        a reminder N days before (0 to 30), at 09:00";
}
