// The data set in the other programs' formats: each record once, with the
// date and the name those programs read, and nothing they would misread.
#include "bench/PeerFormats.h"

#include <string>

#include <gtest/gtest.h>

namespace {

const char kFile[] =
    "[***CALENDAR***]\r\n"
    "01.01 0000 Nov\xFD rok\r\n"  // "Nový rok"
    "\r\n[***CUSTOM***]\r\n"
    "24.12 9999 \x8At\xEC"
    "dr\xFD den\r\n"  // "Štědrý den"
    "05.03 1950 Jan Nov\xE1k\r\n"
    "29.02 8888 Leap\r\n"
    "31.13 1950 bad month\r\n"
    "5.3 1950 one digit\r\n"
    "06.03 1950 100% [sure]\r\n"
    "07.03 0000 a=b /* c\r\n";

TEST(PeerFormatsTest, EachFormatCarriesTheRecords)
{
    const struct {
        PeerFormat format;
        const char* expected;
    } cases[] = {
        {PeerFormat::Calendar,
         "01/01\tNov\xC3\xBD rok\n12/24\t\xC5\xA0t\xC4\x9B"
         "dr\xC3\xBD den\n03/05\tJan Nov\xC3\xA1k\n"
         "02/29\tLeap\n03/05\tone digit\n03/06\t100% [sure]\n"},
        {PeerFormat::Remind,
         "REM 1 Jan +7 MSG Nov\xC3\xBD rok\nREM 24 Dec +7 MSG \xC5\xA0t\xC4\x9B"
         "dr\xC3\xBD den\n"
         "REM 5 Mar +7 MSG Jan Nov\xC3\xA1k\nREM 29 Feb +7 MSG Leap\nREM 5 Mar +7 MSG one digit\n"
         "REM 6 Mar +7 MSG 100%% [\"[\"]sure]\nREM 7 Mar +7 MSG a=b /* c\n"},
        {PeerFormat::Pal,
         "TV Tolvari\n00000101 Nov\xC3\xBD rok\n00001224 \xC5\xA0t\xC4\x9B"
         "dr\xC3\xBD den\n"
         "00000305 Jan Nov\xC3\xA1k\n00000229 Leap\n00000305 one digit\n00000306 100% [sure]\n"
         "00000307 a=b /* c\n"},
        {PeerFormat::Birthday,
         "Nov\xC3\xBD rok=01/01 ev\n\xC5\xA0t\xC4\x9B"
         "dr\xC3\xBD den=24/12 ev\nJan Nov\xC3\xA1k=05/03/1950\n"
         "Leap=29/02\none digit=05/03/1950\n100% [sure]=06/03/1950\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertDataFile(kFile, c.format), c.expected) << static_cast<int>(c.format);
}

TEST(PeerFormatsTest, Cp1250ToUtf8)
{
    // "Příliš žluťoučký kůň", the euro sign and an undefined byte.
    EXPECT_EQ(Cp1250ToUtf8("P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"),
              "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88");
    EXPECT_EQ(Cp1250ToUtf8("\x80\x81"), "\xE2\x82\xAC?");
    EXPECT_EQ(Cp1250ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(PeerFormatsTest, Names)
{
    PeerFormat f = PeerFormat::Pal;
    EXPECT_TRUE(ParsePeerFormat("calendar", f));
    EXPECT_EQ(f, PeerFormat::Calendar);
    EXPECT_TRUE(ParsePeerFormat("birthday", f));
    EXPECT_EQ(f, PeerFormat::Birthday);
    EXPECT_FALSE(ParsePeerFormat("tolvari", f));
    EXPECT_EQ(f, PeerFormat::Birthday);
}

}  // namespace
