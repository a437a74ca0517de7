// Writes a contacts export of the given number of cards to standard output,
// the way phones write them: vCard 3.0, each card with a birthday and a
// photo of the given size as folded base64, every tenth card vCard 2.1 with
// quoted-printable names, CR LF line ends.
//   tolvari_importgen CARDS PHOTO_KB > contacts.vcf
// Or a calendar of one-off whole-day events, each with its own title, on
// dates over thirty years; or one card of many dates given twice (ALTID):
//   tolvari_importgen --events EVENTS > calendar.ics
//   tolvari_importgen --altids DATES > card.vcf
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Events(long events)
{
    std::printf("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tolvari//bench//EN\r\n");
    for (long i = 0; i < events; ++i) {
        const int year = static_cast<int>(1996 + i % 30), month = static_cast<int>(i / 30 % 12 + 1),
                  day = static_cast<int>(i / 360 % 28 + 1);
        std::printf(
            "BEGIN:VEVENT\r\nUID:%ld@bench.example\r\nDTSTAMP:20200101T000000Z\r\n"
            "DTSTART;VALUE=DATE:%04d%02d%02d\r\nSUMMARY:Appointment %ld about the quarterly plan\r\n"
            "DESCRIPTION:Notes of the day\\, nothing more\r\nEND:VEVENT\r\n",
            i, year, month, day, i);
    }
    std::printf("END:VCALENDAR\r\n");
}

void AltIds(long dates)
{
    std::printf("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Eva\r\n");
    for (long i = 0; i < dates; ++i)
        std::printf(
            "item%ld.X-ABDATE;ALTID=%ld:2001-01-%02ld\r\nitem%ld.X-ABLabel:Day %ld\r\n"
            "item%ld.X-ABDATE;ALTID=%ld;VALUE=text:first of the year\r\n",
            i, i, i % 28 + 1, i, i, i, i);
    std::printf("END:VCARD\r\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--events") {
        Events(std::atol(argv[2]));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--altids") {
        AltIds(std::atol(argv[2]));
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CARDS PHOTO_KB | --events EVENTS | --altids DATES\n", argv[0]);
        return 2;
    }
    const long cards = std::atol(argv[1]);
    const long photoBytes = std::atol(argv[2]) * 1024;
    std::string photo = "PHOTO;ENCODING=b;TYPE=JPEG:";
    for (long i = 0; i < photoBytes; ++i) {
        photo += "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"[i * 7 % 64];
        if (photo.size() % 76 == 75)
            photo += "\r\n ";
    }
    photo += "\r\n";
    for (long i = 0; i < cards; ++i) {
        const int day = static_cast<int>(i % 28 + 1), month = static_cast<int>(i / 28 % 12 + 1);
        const int year = static_cast<int>(1930 + i % 80);
        if (i % 10 == 9) {
            std::printf(
                "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Dvo=C5=99=C3=A1k;Ji=\r\n"
                "=C5=99=C3=AD %ld;;;\r\nBDAY:%04d%02d%02d\r\nEND:VCARD\r\n",
                i, year, month, day);
            continue;
        }
        std::printf(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xC5\xA0koda Jan %ld\r\nN:\xC5\xA0koda;Jan %ld;;;\r\n"
            "TEL;TYPE=CELL:+420 600 %06ld\r\nBDAY:%04d-%02d-%02d\r\n",
            i, i, i % 1000000, year, month, day);
        std::fwrite(photo.data(), 1, photo.size(), stdout);
        std::printf("END:VCARD\r\n");
    }
    return 0;
}
