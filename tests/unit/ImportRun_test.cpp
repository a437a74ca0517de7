// The import program's run as a whole: options, the data file, the inputs.
#include <gtest/gtest.h>

#include "Entries.h"
#include "Rows.h"
#include "records/DataFile.h"
#include "tool/Options.h"
#include "tool/Run.h"

namespace {

TEST(ImportRun, FindsTheDataFileAndWritesItOnlyWhenAllIsRead)
{
    const std::string kData = "[***KALENDAR***]\n05.03 1950 Grandpa\n";
    const std::string kCard = Card({"FN:Eva", "BDAY:19881224"});
    const std::string kAfter =
        FormatDataFile(ListOf({{"05", "03", "1950", "Grandpa"}, {"24", "12", "1988", "Eva"}}), 0);
    const struct {
        const char* what;
        Lines args;
        std::string ini;  // none if empty
        int code;
        std::string tolvariDat, otherDat;  // afterwards
    } cases[] = {
        {"no settings file: Tolvari.dat", {"a.vcf"}, "", 0, kAfter, kData},
        {"FILE= of the settings file", {"a.vcf"}, "FILE=other.dat\r\n", 0, kData, kAfter},
        {"an input missing", {"a.vcf", "missing.vcf"}, "", 1, kData, kData},
        {"no data file", {"--data", "missing.dat", "a.vcf"}, "", 1, kData, kData},
        {"a data file that is not one", {"--data", "a.vcf", "a.vcf"}, "", 1, kData, kData},
        {"a data file of CR line ends", {"--data", "cr.dat", "a.vcf"}, "", 1, kData, kData},
        {"an input that is no vCard or calendar", {"a.vcf", "b.txt"}, "", 1, kData, kData},
        {"a calendar without events", {"a.vcf", "c.ics"}, "", 1, kData, kData},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        WriteBytes("Tolvari.dat", kData);
        WriteBytes("other.dat", kData);
        WriteBytes("a.vcf", kCard);
        WriteBytes("cr.dat", "[***CALENDAR***]\r19.03 0000 Josef\r");
        WriteBytes("b.txt", "BEGIN:VCARDS\n");
        WriteBytes("c.ics", "Calendar\rBEGIN:VCALENDAR\rBEGIN:VTODO\rEND:VTODO\rEND:VCALENDAR\r");
        if (!c.ini.empty())
            WriteBytes("Tolvari.ini", c.ini);
        ImportOptions options;
        std::string error;
        ASSERT_TRUE(ParseImportArgs(c.args, options, error)) << c.what;
        Lines printed;
        const auto print = [&](const std::string& line, bool) { printed.push_back(line); };
        EXPECT_EQ(RunImport(options, print), c.code) << c.what;
        EXPECT_EQ(ReadBytes("Tolvari.dat"), c.tolvariDat) << c.what;
        EXPECT_EQ(ReadBytes("other.dat"), c.otherDat) << c.what;
        EXPECT_EQ(printed.back(), c.code ? printed.back() : "1 added, 0 already there, 0 skipped") << c.what;
        if (c.code == 0) {
            EXPECT_EQ(printed.at(1), "a.vcf: 1 card read: 1 added, 0 already there, 0 skipped") << c.what;
        }
        const auto files = std::distance(std::filesystem::directory_iterator(dir.path), {});
        EXPECT_EQ(files, c.ini.empty() ? 6 : 7) << c.what;  // no temporary file left
        std::filesystem::current_path(home);
    }
}

}  // namespace
