#include "records/DataFile.h"

#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "DataFile_TempDir.h"
#include "records/FileSystem.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A literal with its NUL bytes.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

Rows RowsOf(const RecordList& list)
{
    Rows rows;
    for (int i = 0; i < list.m_nCount; ++i) {
        rows.push_back({std::string(list.m_arrDay[i]), std::string(list.m_arrMonth[i]),
                        std::string(list.m_arrYear[i]), std::string(list.m_arrName[i])});
    }
    return rows;
}

RecordList ListOf(const Rows& rows)
{
    RecordList list;
    for (const auto& r : rows) {
        list.m_arrDay.Add(r[0]);
        list.m_arrMonth.Add(r[1]);
        list.m_arrYear.Add(r[2]);
        list.m_arrName.Add(r[3]);
    }
    list.m_nCount = static_cast<int>(rows.size());
    return list;
}

RecordList Parse(const std::string& bytes)
{
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(bytes));
    return list;
}

TEST(DataFileReading, LineRules)
{
    const struct {
        std::string line;
        bool accepted;
        const char *day, *month, *year, *name;
    } cases[] = {
        {"05.03 1950 Wedding day", true, "05", "03", "1950", "Wedding day"},
        {"01.01 0000 New Year", true, "01", "01", "0000", "New Year"},
        {"", false, "", "", "", ""},
        {"[***CALENDAR***]", false, "", "", "", ""},
        {"[05.03 1950 x", false, "", "", "", ""},
        {"no dot here at all", false, "", "", "", ""},
        {"05.03 1950", false, "", "", "", ""},                       // ends after the year
        {"05.03 1950 ", true, "05", "03", "1950", ""},  // one blank: empty name
        {"05.03", false, "", "", "", ""},
        {"05.03 1950  two  blanks  ", true, "05", "03", "1950", " two  blanks  "},
        {" 5.03 1950 x", true, " 5", "03", "1950", "x"},
        {"a b.c d e", true, "a b", "c", "d", "e"},
        {"Name with. a b", true, "Name with", "", "a", "b"},  // split at the name's "."
        {"Name with. dot", false, "", "", "", ""},
        {"Name with.dot", false, "", "", "", ""},
        {".  ", true, "", "", "", ""},
        {"05.03\t1950 x y", true, "05", "03\t1950", "x", "y"},  // a tab is no blank
        {"05..03 1950 x", true, "05", ".03", "1950", "x"},
        {Bytes("0\0005.03 1950 a\0b"), true, "", "", "", ""},
    };
    for (const auto& c : cases) {
        RecordFields f;
        ASSERT_EQ(ParseRecordLine(c.line, f), c.accepted) << c.line;
        if (!c.accepted || c.line.find('\0') != std::string::npos)
            continue;
        EXPECT_EQ(f.day, c.day) << c.line;
        EXPECT_EQ(f.month, c.month) << c.line;
        EXPECT_EQ(f.year, c.year) << c.line;
        EXPECT_EQ(f.name, c.name) << c.line;
    }
}

TEST(DataFileReading, NulBytesAreOrdinaryBytes)
{
    const RecordList list = Parse(Bytes("0\0005.03 1950 a\0b\r\n"));
    ASSERT_EQ(list.m_nCount, 1);
    EXPECT_EQ(list.m_arrDay[0], Bytes("0\0005"));
    EXPECT_EQ(list.m_arrName[0], Bytes("a\0b"));
}

TEST(DataFileReading, WholeFiles)
{
    const struct {
        const char* what;
        std::string bytes;
        Rows rows;
    } cases[] = {
        {"example", "[***CALENDAR***]\r\n01.01 0000 New Year\r\n\r\n[***CUSTOM***]\r\n"
                    "05.03 1950 Wedding day\r\n24.12 9999 Christmas Eve\r\n",
         {{"01", "01", "0000", "New Year"},
          {"05", "03", "1950", "Wedding day"},
          {"24", "12", "9999", "Christmas Eve"}}},
        {"bare LF reads the same", "01.01 0000 New Year\n05.03 1950 Wedding day\n",
         {{"01", "01", "0000", "New Year"}, {"05", "03", "1950", "Wedding day"}}},
        {"mixed line ends", "01.01 0000 A\r\n02.01 0000 B\n03.01 0000 C\r\n",
         {{"01", "01", "0000", "A"}, {"02", "01", "0000", "B"}, {"03", "01", "0000", "C"}}},
        {"last line without line end", "01.01 0000 A\r\n02.01 0000 B",
         {{"01", "01", "0000", "A"}, {"02", "01", "0000", "B"}}},
        {"a CR not before LF stays", "01.01 0000 A\rB\r\n", {{"01", "01", "0000", "A\rB"}}},
        {"only the last CR is the line end", "01.01 0000 A\r\r\n", {{"01", "01", "0000", "A\r"}}},
        {"Czech headers", "[***KALENDAR***]\r\n01.01 0000 Nov\xFD rok\r\n\r\n[***UZIVATEL***]\r\n",
         {{"01", "01", "0000", "Nov\xFD rok"}}},
        {"records anywhere, kind from the year", "05.03 0000 early\r\n[***CUSTOM***]\r\n06.03 0000 late\r\n",
         {{"05", "03", "0000", "early"}, {"06", "03", "0000", "late"}}},
        {"empty file", "", {}},
        {"headers only", "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n", {}},
        {"Ctrl-Z is an ordinary byte", "01.01 0000 A\x1A\r\n02.01 0000 B\r\n",
         {{"01", "01", "0000", "A\x1A"}, {"02", "01", "0000", "B"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RowsOf(Parse(c.bytes)), c.rows) << c.what;
}

TEST(DataFileLoading, CountAndCurrentRecord)
{
    TempDir dir;
    const struct {
        std::string bytes;
        int count, current;
    } cases[] = {
        {"", 0, 0},
        {"[***CALENDAR***]\r\n", 0, 0},
        {"01.01 0000 A\r\n", 1, 1},
        {"01.01 0000 A\r\n02.01 0000 B\r\n03.01 0000 C\r\n", 3, 1},
    };
    for (const auto& c : cases) {
        WriteBytes(dir.File("t.dat"), c.bytes);
        RecordList list;
        list.CurrentRecord = 7;
        ASSERT_TRUE(LoadDataFile(dir.File("t.dat"), list));
        EXPECT_EQ(list.m_nCount, c.count);
        EXPECT_EQ(list.CurrentRecord, c.current);
        EXPECT_EQ(list.m_arrName.GetSize(), c.count);
    }
}

TEST(DataFileLoading, MissingFileLeavesAnEmptyList)
{
    TempDir dir;
    RecordList list;
    list.m_nCount = 3;
    list.CurrentRecord = 2;
    EXPECT_FALSE(LoadDataFile(dir.File("missing.dat"), list));
    EXPECT_EQ(list.m_nCount, 0);
    EXPECT_EQ(list.CurrentRecord, 0);
    EXPECT_FALSE(LoadDataFile(dir.Path(), list)) << "a directory is no data file";
}

TEST(DataFileWriting, ExactBytes)
{
    const struct {
        const char* what;
        Rows rows;
        int language;
        std::string bytes;
    } cases[] = {
        {"empty list", {}, 0, "[***CALENDAR***]\r\n"},
        {"empty list, Czech", {}, 1, "[***KALENDAR***]\r\n"},
        {"calendar only", {{"01", "01", "0000", "A"}}, 0, "[***CALENDAR***]\r\n01.01 0000 A\r\n"},
        {"custom header before the first other year",
         {{"01", "01", "0000", "A"}, {"05", "03", "1950", "W d"}, {"02", "01", "0000", "late"}},
         0,
         "[***CALENDAR***]\r\n01.01 0000 A\r\n\r\n[***CUSTOM***]\r\n05.03 1950 W d\r\n"
         "02.01 0000 late\r\n"},
        {"first record not a calendar entry", {{"24", "12", "9999", "Eve"}}, 1,
         "[***KALENDAR***]\r\n\r\n[***UZIVATEL***]\r\n24.12 9999 Eve\r\n"},
        {"an empty record", {{"", "", "", ""}}, 0, "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n.  \r\n"},
        {"record texts are not formats", {{"%s", "%n", "9999", "%d%%"}}, 0,
         "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n%s.%n 9999 %d%%\r\n"},
        {"bytes kept", {{"01", "01", "8888", Bytes("\x8E\0x")}}, 0,
         Bytes("[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n01.01 8888 \x8E\0x\r\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDataFile(ListOf(c.rows), c.language), c.bytes) << c.what;
}

TEST(DataFileWriting, CzechHeadersLoadAndEnglishAreWritten)
{
    const RecordList list = Parse("[***KALENDAR***]\r\n01.01 0000 A\r\n\r\n[***UZIVATEL***]\r\n"
                                  "02.02 1950 B\r\n");
    EXPECT_EQ(FormatDataFile(list, 0),
              "[***CALENDAR***]\r\n01.01 0000 A\r\n\r\n[***CUSTOM***]\r\n02.02 1950 B\r\n");
}

TEST(DataFileSaving, RoundTripIsByteIdentical)
{
    TempDir dir;
    const std::string path = dir.File("r\xF9\x9E" "e.dat");
    const RecordList original = ListOf({{"01", "01", "0000", "Nov\xFD rok"},
                                        {"02", "01", "0000", "Karina"},
                                        {"05", "03", "1950", "Wedding  day "},
                                        {"06", "03", "0000", "after custom"},
                                        {"", "", "", ""},
                                        {"24", "12", "9999", Bytes("a\0b\x1A")},
                                        {"07", "07", "8888", "%s %n"}});
    for (int language : {0, 1}) {
        ASSERT_TRUE(SaveDataFile(path, original, language));
        const std::string first = ReadBytes(path);
        EXPECT_EQ(first, FormatDataFile(original, language));
        RecordList loaded;
        ASSERT_TRUE(LoadDataFile(path, loaded));
        EXPECT_EQ(RowsOf(loaded), RowsOf(original));
        ASSERT_TRUE(SaveDataFile(path, loaded, language));
        EXPECT_EQ(ReadBytes(path), first);
    }
    EXPECT_EQ(CountEntries(dir.Path()), 1) << "no temporary file is left";
}

TEST(DataFileSaving, NewFileGetsTheUsualMode)
{
    TempDir dir;
    ASSERT_TRUE(SaveDataFile(dir.File("new.dat"), ListOf({}), 0));
    struct stat st;
    ASSERT_EQ(::stat(dir.File("new.dat").c_str(), &st), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
    ::chmod(dir.File("new.dat").c_str(), 0640);
    ASSERT_TRUE(SaveDataFile(dir.File("new.dat"), ListOf({}), 0));
    ASSERT_EQ(::stat(dir.File("new.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "a rewritten file keeps its mode";
}

TEST(DataFileSaving, FailureLeavesTheOldFile)
{
    TempDir dir;
    const RecordList list = ListOf({{"01", "01", "0000", "new"}});

    // The target is a directory: even root cannot rename a file over it.
    ASSERT_EQ(::mkdir(dir.File("taken.dat").c_str(), 0755), 0);
    WriteBytes(dir.File("taken.dat/inside"), "old bytes");
    EXPECT_FALSE(SaveDataFile(dir.File("taken.dat"), list, 0));
    EXPECT_EQ(ReadBytes(dir.File("taken.dat/inside")), "old bytes");
    EXPECT_EQ(CountEntries(dir.Path()), 1) << "the temporary file is removed";

    // The data file's directory is gone.
    EXPECT_FALSE(SaveDataFile(dir.File("gone/data.dat"), list, 0));
    EXPECT_EQ(CountEntries(dir.Path()), 1);
}

TEST(FileSystemTest, ReadsWhatWasWritten)
{
    TempDir dir;
    std::string big(3 * 65536 + 17, 'x');
    big[5] = '\0';
    ASSERT_TRUE(filesys::WriteFileAtomically(dir.File("big"), big));
    std::string read = "stale";
    ASSERT_TRUE(filesys::ReadWholeFile(dir.File("big"), read));
    EXPECT_EQ(read, big);
    ASSERT_TRUE(filesys::WriteFileAtomically(dir.File("big"), ""));
    ASSERT_TRUE(filesys::ReadWholeFile(dir.File("big"), read));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(filesys::ReadWholeFile(dir.File("none"), read));
}

TEST(DataFileErrors, TextsByLanguage)
{
    EXPECT_EQ(DataFileOpenError("my %s.dat", 0),
              "Error: Can't open file my %s.dat\n\nThe file specified in Tolvari.ini in FILE section "
              "doesn't exist in the current directory.");
    // "Chyba: Nemůžu otevřít soubor ... Soubor uvedený v Sorvana.ini v položce FILE zřejmě
    // v aktuálním adresáři neexistuje."
    EXPECT_EQ(DataFileOpenError("x.dat", 1),
              "Chyba: Nem\xF9\x9Eu otev\xF8\xEDt soubor x.dat\n\nSoubor uveden\xFD v Sorvana.ini v "
              "polo\x9E" "ce FILE z\xF8" "ejm\xEC v aktu\xE1ln\xEDm adres\xE1\xF8i neexistuje.");
    EXPECT_EQ(DataFileWriteError("my %n.dat", 0),
              "Error: Can't write file my %n.dat\n\nYour changes are kept. Close the editor again to "
              "save them.");
    // "Chyba: Nemůžu zapsat soubor ... Změny zůstávají zachovány. Uložte je opětovným zavřením
    // editoru."
    EXPECT_EQ(DataFileWriteError("x.dat", 1),
              "Chyba: Nem\xF9\x9Eu zapsat soubor x.dat\n\nZm\xECny z\xF9st\xE1vaj\xED zachov\xE1ny. "
              "Ulo\x9Ete je op\xECtovn\xFDm zav\xF8" "en\xEDm editoru.");
}

TEST(StringArrayTest, EditsOverLoadedSlices)
{
    RecordList list = Parse("01.01 0000 A\r\n02.01 0000 B\r\n03.01 0000 C\r\n");
    CStringArray& names = list.m_arrName;
    names.SetAt(1, "changed");
    names.SetAt(1, names.GetAt(1).substr(2));  // a view of itself
    names.SetAt(0, names.GetAt(2));             // a view of the loaded buffer
    names.SetAtGrow(5, "grown");
    names.Add(names.GetAt(5));                 // a view of an owned text while growing
    ASSERT_EQ(names.GetSize(), 7);
    const char* const expected[] = {"C", "anged", "C", "", "", "grown", "grown"};
    for (int i = 0; i < names.GetSize(); ++i)
        EXPECT_EQ(names[i], expected[i]) << i;
    names.RemoveAt(0);
    EXPECT_EQ(names[0], "anged");
    EXPECT_EQ(std::string(names.GetAt(5)), "grown");

    const CStringArray copy = names;
    names.SetAt(0, "x");
    EXPECT_EQ(copy[0], "anged");
    names.RemoveAll();
    EXPECT_EQ(names.GetSize(), 0);
    EXPECT_EQ(copy[4], "grown");
}

TEST(StringArrayTest, ViewsSurviveEditsOfOtherElements)
{
    CStringArray texts;
    texts.Add("short");
    const std::string_view first = texts.GetAt(0);
    for (int i = 0; i < 1000; ++i)
        texts.Add("text " + std::to_string(i));
    texts.SetAt(500, "changed");
    EXPECT_EQ(first, "short");
}

TEST(StringArrayTest, SecondLoadKeepsTheFirst)
{
    RecordList list = Parse("01.01 0000 A\r\n");
    list.m_nCount += AppendRecords(list, std::make_shared<const std::string>("02.02 9999 B\r\n"));
    EXPECT_EQ(RowsOf(list), (Rows{{"01", "01", "0000", "A"}, {"02", "02", "9999", "B"}}));
}

}  // namespace
