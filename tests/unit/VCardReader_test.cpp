// The vCard reader through ReadInput, as the import program reads a file.
#include <gtest/gtest.h>

#include "Entries.h"

namespace {

TEST(ImportVCard, BirthdaysAndAnniversaries)
{
    const std::vector<ReadCase> cases = {
        {"quoted-printable soft breaks (the blank after one kept); 2.1 folds keep their blank",
         Card({"FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Jan=", " =C5=A0ko=", "da=3D", "BDAY:19500305"}) +
             Card({"VERSION:2.1", "N:Nov", " ak;Jan", "BDAY:19500306"}) + Card({"N:Nov", " ak;Jan", "BDAY:19500307"}),
         {"05.03 1950 Jan \xC5\xA0koda=", "06.03 1950 Jan Nov ak", "07.03 1950 Jan Novak"}},
        {"charsets: ISO-8859-2, windows-1252 (quoted-printable), ISO-8859-1, windows-1250",
         Card({"FN;CHARSET=ISO-8859-2:\xA9koda \xBE", "BDAY:--0101"}) +
             Card({"FN;CHARSET=windows-1252;ENCODING=QUOTED-PRINTABLE:=8Aa=9A=80", "BDAY:--0102"}) +
             Card({"FN;CHARSET=ISO-8859-1:S\xF8ren", "BDAY:--0103"}) +
             Card({"FN;CHARSET=windows-1250:\x8A\xE8", "BDAY:--0104"}),
         {"01.01 8888 \xC5\xA0koda \xC5\xBE",
          "02.01 8888 \xC5\xA0"
          "a\xC5\xA1\xE2\x82\xAC",
          "03.01 8888 S\xC3\xB8ren", "04.01 8888 \xC5\xA0\xC4\x8D"}},
        {"3.0: escapes, folded line",
         Card({"FN:Nov\\,\\;\\\\k\\nJan", " a", "BDAY:1950-03-05T00:00:00Z"}),
         {"05.03 1950 Nov,;\\k Jana"}},
        {"N without FN: prefix given additional family suffix",
         Card({"N:Smith\\, Sr.;John;Paul,Peter;Dr.;Jr.", "BDAY:--0305"}),
         {"05.03 8888 Dr. John Paul Peter Smith, Sr. Jr."}},
        {"anniversary properties get the suffix",
         Card({"FN:Eva", "ANNIVERSARY:19960214", "X-ANNIVERSARY:19960215", "X-EVOLUTION-ANNIVERSARY:1996-02-16",
               "X-MS-ANNIVERSARY:19960217", "X-KADDRESSBOOK-X-Anniversary:1996-02-18"}),
         {"14.02 1996 Eva - anniversary", "15.02 1996 Eva - anniversary", "16.02 1996 Eva - anniversary",
          "17.02 1996 Eva - anniversary", "18.02 1996 Eva - anniversary"}},
        {"Android's events: anniversary, other, one the user named, the birthday",
         Card({"FN:Eva", "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;1996-02-14;1;;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;2001-01-01;2;;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;--12-24;0;Name day;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;1970-05-06;3;;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Evi;1;;;;;;;;;;;;;"}),
         {"14.02 1996 Eva - anniversary", "01.01 2001 Eva - other", "24.12 8888 Eva - Name day", "06.05 1970 Eva"}},
        {"Apple: labelled dates in groups, year left out",
         Card({"FN:Eva", "item1.X-ABDATE:1996-02-14", "item2.X-ABDATE:2001-01-01", "item2.X-ABLabel:Name day",
               "ITEM1.X-ABLABEL:_$!<Anniversary>!$_", "BDAY;X-APPLE-OMIT-YEAR=1604:1604-12-11"}),
         {"14.02 1996 Eva - anniversary", "01.01 2001 Eva - Name day", "11.12 8888 Eva"}},
        {"4.0: VALUE=date and VALUE=text",
         Card({"VERSION:4.0", "FN:Leap", "BDAY;VALUE=date;ALTID=1:19880229", "BDAY;ALTID=1;VALUE=text:leap day",
               "ANNIVERSARY;VALUE=text:circa 2000"}),
         {"29.02 1988 Leap", "skipped 6: ANNIVERSARY is text, not a date: circa 2000"}},
        {"not a date, no name, years that are codes",
         Card({"FN:A", "BDAY:1985", "BDAY:00000305", "BDAY:99990305"}) + Card({"BDAY:19500305"}),
         {"skipped 3: BDAY is not a date of day and month: 1985", "05.03 8888 A", "05.03 8888 A",
          "skipped 8: a card without a name (FN or N)"}},
        {"Android's quoted-printable: a soft break at the value's end, then the blank line that ends it",
         Card({"VERSION:2.1", "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Nov=C3=A1k;Jan=", "", "TEL;CELL:+420600",
               "BDAY:19800102"}),
         {"02.01 1980 Jan Nov\xC3\xA1k"}},
        {"the Windows Address Book's and Outlook Express's anniversary; dates of other kinds listed",
         Card({"FN:Eva", "X-WAB-WEDDING_ANNIVERSARY:19960214", "DEATHDATE:20010101", "X-PHONE-NAMEDAY-DATE:--0726",
               "BIRTHPLACE:Brno"}),
         {"14.02 1996 Eva - anniversary", "skipped 4: DEATHDATE is a date of death",
          "skipped 5: X-PHONE-NAMEDAY-DATE is a date this program does not take (--0726)"}},
        {"years that are no years: 1604 without Apple's parameter (CardBook), a phone's 1900, after today",
         Card({"FN:Eva", "BDAY:16041211", "BDAY:19000101", "BDAY:20261208", "BDAY:19061207"}),
         {"11.12 8888 Eva", "01.01 8888 Eva", "08.12 8888 Eva", "07.12 1906 Eva"}},
        {"text before the first card, an agent's card inside a card, a card without END:VCARD",
         Join({"Note: exported contacts", "BEGIN:VCARD", "FN:A", "AGENT:", "BEGIN:VCARD", "FN:B", "BDAY:20000101",
               "END:VCARD", "BDAY:19100102", "END:VCARD", "BEGIN:VCARD", "FN:C", "END:VCARD", "BEGIN:VCARD", "FN:D",
               "BDAY:19000103", "BEGIN:VCARD", "FN:E", "BDAY:19000104"}),
         {"02.01 1910 A", "skipped 14: a card without END:VCARD (the file may be cut short)",
          "skipped 17: a card without END:VCARD (the file may be cut short)"}},
    };
    ExpectRead(cases);
}

}  // namespace
