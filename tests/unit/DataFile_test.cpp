#include "records/DataFile.h"

#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "DataFile_TempDir.h"
#include "RecordRows.h"
#include "records/FileSystem.h"

namespace {

RecordList Parse(const std::string& bytes, RecordList list = {})
{
    list.m_nCount += AppendRecords(list, std::make_shared<const std::string>(bytes));
    return list;
}

// Each line is read alone and as a loaded file, whose columns show the
// lines, and appended to a list that has records, which keeps slices.
TEST(DataFileReading, LineRules)
{
    const struct {
        std::string line;
        Rows fields;  // none when the line is no record
    } cases[] = {
        {"05.03 1950 Wedding day", {{"05", "03", "1950", "Wedding day"}}},
        {"", {}}, {"[05.03 1950 x", {}}, {"no dot here at all", {}}, {"05.03", {}},
        {"05.03 1950", {}}, {"Name with. dot", {}},  // end after the year
        {"05.03 1950 ", {{"05", "03", "1950", ""}}},
        {"05.03 1950  two  blanks  ", {{"05", "03", "1950", " two  blanks  "}}},
        {" 5.03 1950 x", {{" 5", "03", "1950", "x"}}}, {"05.3 1950 x", {{"05", "3", "1950", "x"}}},
        {"05.03 195  x", {{"05", "03", "195", " x"}}}, {"05.03 19500 x", {{"05", "03", "19500", "x"}}},
        {"a b.c d e", {{"a b", "c", "d", "e"}}}, {".  ", {{"", "", "", ""}}},
        {"Name with. a b", {{"Name with", "", "a", "b"}}},  // split at the name's "."
        {"05.03\t1950 x y", {{"05", "03\t1950", "x", "y"}}},  // a tab is no blank
        {"05..03 1950 x", {{"05", ".03", "1950", "x"}}}, {"05.03 1950 a.b c", {{"05", "03", "1950", "a.b c"}}},
        {"05.03 1950 x\ry\x1Az", {{"05", "03", "1950", "x\ry\x1Az"}}},  // CR and Ctrl-Z are bytes
        {Bytes("0\0005.03 1950 a\0b"), {{Bytes("0\0005"), "03", "1950", Bytes("a\0b")}}},
    };
    const RecordList one = Parse("01.01 0000 A\r\n");
    for (const auto& c : cases) {
        RecordFields f;
        ASSERT_EQ(ParseRecordLine(c.line, f), !c.fields.empty()) << c.line;
        if (!c.fields.empty()) {
            EXPECT_EQ((Rows{{std::string(f.day), std::string(f.month), std::string(f.year),
                             std::string(f.name)}}),
                      c.fields)
                << c.line;
        }
        for (const char* end : {"\r\n", "\n", ""}) {
            EXPECT_EQ(RowsOf(Parse(c.line + end)), c.fields) << c.line;
            Rows appended = c.fields;
            appended.insert(appended.begin(), {"01", "01", "0000", "A"});
            EXPECT_EQ(RowsOf(Parse(c.line + end, one)), appended) << c.line;
        }
    }
}

TEST(DataFileReading, WholeFiles)
{
    const std::pair<std::string, Rows> cases[] = {
        {"[***CALENDAR***]\r\n01.01 0000 A\r\n\r\n[***CUSTOM***]\r\n05.03 1950 B\r\n",
         {{"01", "01", "0000", "A"}, {"05", "03", "1950", "B"}}},
        {"[***KALENDAR***]\r\n01.01 0000 A\r\r\n\r\n[***UZIVATEL***]\r\n",  // only the last CR ends the line
         {{"01", "01", "0000", "A\r"}}},
    };
    for (const auto& [bytes, rows] : cases)
        EXPECT_EQ(RowsOf(Parse(bytes)), rows) << bytes;
}

TEST(DataFileLoading, CountAndCurrentRecord)
{
    TempDir dir;
    RecordList list;
    for (const auto& [bytes, count] : {std::pair("[***CALENDAR***]\r\n", 0), std::pair("01.01 0000 A\r\n02.01 0000 B", 2)}) {
        WriteBytes(dir.File("t.dat"), bytes);
        list.CurrentRecord = 7;
        ASSERT_TRUE(LoadDataFile(dir.File("t.dat"), list));
        EXPECT_EQ(std::pair(list.m_nCount, list.CurrentRecord), std::pair(count, count ? 1 : 0));
    }
    EXPECT_FALSE(LoadDataFile(dir.File("missing.dat"), list));
    EXPECT_EQ(std::pair(list.m_nCount, list.CurrentRecord), std::pair(0, 0));
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
        {"empty list, Czech", {}, 1, "[***KALENDAR***]\r\n"},
        {"custom header before the first other year",
         {{"01", "01", "0000", "A"}, {"05", "03", "1950", "W d"}, {"02", "01", "0000", "late"}}, 0,
         "[***CALENDAR***]\r\n01.01 0000 A\r\n\r\n[***CUSTOM***]\r\n05.03 1950 W d\r\n02.01 0000 late\r\n"},
        {"first record not a calendar entry", {{"24", "12", "9999", "Eve"}}, 1,
         "[***KALENDAR***]\r\n\r\n[***UZIVATEL***]\r\n24.12 9999 Eve\r\n"},
        {"texts are no formats, bytes kept", {{"%s", "%n", "8888", Bytes("\x8E\0x")}}, 0,
         Bytes("[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n%s.%n 8888 \x8E\0x\r\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDataFile(ListOf(c.rows), c.language), c.bytes) << c.what;
}

TEST(DataFileSaving, RoundTripIsByteIdentical)
{
    TempDir dir;
    const std::string path = dir.File("r\xF9\x9E" "e.dat");
    const RecordList original = ListOf({{"01", "01", "0000", "Nov\xFD rok"},
                                        {"05", "03", "1950", "Wedding  day "},
                                        {"06", "03", "0000", "after custom"},
                                        {"", "", "", ""},
                                        {"24", "12", "9999", Bytes("a\0b\x1A")}});
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

TEST(DataFileSaving, NewFileGetsTheUsualModeAndARewrittenOneKeepsIts)
{
    TempDir dir;
    const std::string path = dir.File("new.dat");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st = {};
    for (const mode_t mode : {static_cast<mode_t>(0666 & ~mask), mode_t{0640}}) {
        ASSERT_TRUE(SaveDataFile(path, ListOf({}), 0));
        EXPECT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, mode);
        ::chmod(path.c_str(), 0640);
    }
}

TEST(DataFileSaving, FailureLeavesTheOldFile)
{
    TempDir dir;
    // The target is a directory: even root cannot rename a file over it.
    ASSERT_EQ(::mkdir(dir.File("taken.dat").c_str(), 0755), 0);
    WriteBytes(dir.File("taken.dat/inside"), "old bytes");
    EXPECT_FALSE(SaveDataFile(dir.File("taken.dat"), ListOf({{"01", "01", "0000", "new"}}), 0));
    EXPECT_EQ(ReadBytes(dir.File("taken.dat/inside")), "old bytes");
    EXPECT_EQ(CountEntries(dir.Path()), 1) << "the temporary file is removed";
}

TEST(FileSystemTest, ReadsWhatWasWrittenPastOneBuffer)
{
    TempDir dir;
    const std::string big(3 * 65536 + 17, 'x');
    std::string read = "stale";
    for (const std::string& bytes : {big, std::string()}) {
        ASSERT_TRUE(filesys::WriteFileAtomically(dir.File("big"), bytes));
        ASSERT_TRUE(filesys::ReadWholeFile(dir.File("big"), read));
        EXPECT_EQ(read, bytes);
    }
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

// Loaded columns are views of the file's bytes until changed; a change must
// never leave another element, a copy or an earlier view pointing at freed
// or moved text.
TEST(StringArrayTest, EditsKeepOtherElementsCopiesAndViews)
{
    for (const RecordList& loaded : {Parse("01.01 0000 A\r\n02.01 0000 B\r\n03.01 0000 C\r\n"),
                                     Parse("01.01 0000 A\r\n02.01 0000 B\r\n03.01 0000 C\r\n",
                                           ListOf({{"x", "x", "x", "x"}}))}) {
        RecordList list = loaded;
        CStringArray& names = list.m_arrName;
        const std::string_view last = names[names.GetSize() - 1];
        const int base = names.GetSize() - 3;
        names.SetAt(base + 1, "changed");
        names.SetAt(base + 1, names.GetAt(base + 1).substr(2));  // a view of itself
        names.SetAt(base, names.GetAt(base + 2));               // a view of the loaded bytes
        names.SetAtGrow(base + 5, "grown");
        names.Add(names.GetAt(base + 5));  // a view of an owned text while growing
        const std::string_view owned = names.GetAt(base + 5);
        for (int i = 0; i < 1000; ++i)
            names.Add("text " + std::to_string(i));
        EXPECT_EQ(owned, "grown");
        names.RemoveAt(base);
        const char* const expected[] = {"anged", "C", "", "", "grown", "grown"};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(names[base + i], expected[i]) << i;
        EXPECT_EQ(last, "C");
        EXPECT_EQ(list.m_arrDay[base + 1], "02") << "other columns keep their texts";
        EXPECT_EQ(RowsOf(loaded).back(), (std::vector<std::string>{"03", "01", "0000", "C"}));
        const CStringArray copy = names;
        names.RemoveAll();
        EXPECT_EQ(copy[base + 4], "grown");
    }
}

// A list emptied column by column loads the next file as lines again.
TEST(StringArrayTest, EmptiedColumnsTakeTheNextFileAsAView)
{
    RecordList list = Parse("01.01 0000 A\r\n");
    for (CStringArray* column : {&list.m_arrDay, &list.m_arrMonth, &list.m_arrYear, &list.m_arrName})
        column->RemoveAt(0);
    list.m_nCount = 0;
    EXPECT_EQ(RowsOf(Parse("02.02 9999 B\r\n", list)), (Rows{{"02", "02", "9999", "B"}}));
    EXPECT_NE(Parse("02.02 9999 B\r\n", list).m_arrDay.ShownLines(RecordField::Day), nullptr);
}

}  // namespace
