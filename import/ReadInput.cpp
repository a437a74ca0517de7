#include "import/ReadInput.h"

#include "contentlines/ContentLineReader.h"
#include "contentlines/Escapes.h"
#include "import/ICalendarReader.h"
#include "import/VCardReader.h"

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
            result.items = ReadVCardLines(reader, line.number, context.today, sink);
        } else if (kind == "VCALENDAR") {
            result.format = InputFormat::ICalendar;
            result.items = ReadICalendarLines(reader, context, sink, result.feasts);
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
