// Real exports of phones, mail programs and calendars, each with every entry
// it must give: its data-file line, or why it is skipped and where.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Entries.h"
#include "contentlines/ByteSource.h"
#include "import/ReadInput.h"

namespace {

TEST(ImportSamples, EachRealExportGivesItsEntries)
{
    ReadContext context;
    context.today = Date{7, 12, 2026};
    context.localOffset = [](long long) { return 60; };
    // clang-format off
    const struct {
        const char* file;
        Lines expected;
    } cases[] = {
        // Android and BlackBerry write no date.
        {"ezvcard-John_Doe_ANDROID.vcf", {}},
        {"ezvcard-John_Doe_BLACK_BERRY.vcf", {}},
        {"ezvcard-John_Doe_EVOLUTION.vcf", {"22.03 1980 Mr. John Richter, James Doe Sr.", "22.03 1980 Mr. John Richter, James Doe Sr. - anniversary"}},
        {"ezvcard-John_Doe_GMAIL.vcf", {"22.03 1980 Mr. John Richter, James Doe Sr.", "01.03 1975 Mr. John Richter, James Doe Sr. - anniversary"}},
        {"ezvcard-John_Doe_MS_OUTLOOK.vcf", {"22.03 1980 Mr. John Richter James Doe Sr.", "13.01 2011 Mr. John Richter James Doe Sr. - anniversary"}},
        {"ezvcard-fullcontact.vcf", {"01.08 2016 Prefix FirstName MiddleName LastName Suffix"}},
        {"ezvcard-gmail-single2.vcf", {"23.06 1912 VCard Test", "20.03 1930 VCard Test - anniversary", "04.07 8888 VCard Test - other", "12.09 2000 VCard Test - CustomDateCategory"}},
        {"ezvcard-outlook-2007.vcf", {"10.03 1922 Mr. Michael Angstadt Jr.", "01.08 2012 Mr. Michael Angstadt Jr. - anniversary"}},
        {"ical4j-Australian32Holidays.ics", {"26.01 9999 Australia Day", "25.04 9999 ANZAC Day", "10.06 9999 Queen's Birthday", "25.12 9999 Christmas", "26.12 9999 Boxing Day", "01.01 9999 New Year", "skipped 39: a feast that moves with Easter (2 days before Easter Sunday in every year listed)", "skipped 46: a feast that moves with Easter (1 day after Easter Sunday in every year listed)"}},
        {"ical4j-Buddhist.ics", {"15.02 9999 Buddha's Death and entrance to Nirvana.", "08.04 9999 Buddha's Birth", "08.12 9999 Buddha's Enlightenment", "one-off 32: does not repeat"}},
        {"ical4j-EXDATE.ics", {"one-off 103: does not repeat every year"}},
        {"ical4j-calconnect7.ics", {"one-off 21: does not repeat"}},
        {"ical4j-dst-only-vtimezone.ics", {"one-off 13: does not repeat"}},
        {"ical4j-evolution.ics", {"one-off 5: does not repeat"}},
        {"ical4j-korganizer_sample.ics", {"one-off 6: does not repeat every year", "one-off 40: does not repeat every year"}},
        {"utf16-birthdays.ics", {"01.01 2000 Ji\xC5\x99\xC3\xAD \xF0\x9F\x8E\x82", "06.03 8888 Ann", "one-off 22: does not repeat"}},
        {"v21-cr.vcf", {"14.02 1996 Jan \xC4\x8D \xC5\xA0koda - anniversary", "05.03 1950 Jan \xC4\x8D \xC5\xA0koda", "skipped 13: a card without END:VCARD (the file may be cut short)"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        FileSource source(std::string(TOLVARI_SOURCE_DIR "/tests/fuzz/corpus/import/") + c.file);
        ASSERT_TRUE(source.IsOpen()) << c.file;
        std::vector<ImportEntry> entries;
        ReadInput(source, context, [&](const ImportEntry& e) { entries.push_back(e); });
        EXPECT_EQ(Shown(entries), c.expected) << c.file;
    }
}

}  // namespace
