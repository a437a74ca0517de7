#include "records/DataFile.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "records/FileSystem.h"
#include "records/TextLines.h"

namespace {

const char kCalendarHeaderEn[] = "[***CALENDAR***]";
const char kCalendarHeaderCz[] = "[***KALENDAR***]";
const char kCustomHeaderEn[] = "[***CUSTOM***]";
const char kCustomHeaderCz[] = "[***UZIVATEL***]";
const char kLineEnd[] = "\r\n";

std::string_view Before(std::string_view text, size_t pos)
{
    return text.substr(0, pos);
}

}  // namespace

bool ParseRecordLine(std::string_view line, RecordFields& fields)
{
    size_t dot = line.find('.');
    if (dot == std::string_view::npos || line[0] == '[')
        return false;
    std::string_view rest = line.substr(dot + 1);
    size_t blank = rest.find(' ');
    if (blank == std::string_view::npos)
        return false;
    std::string_view month = Before(rest, blank);
    rest = rest.substr(blank + 1);
    blank = rest.find(' ');
    if (blank == std::string_view::npos)
        return false;
    fields.day = Before(line, dot);
    fields.month = month;
    fields.year = Before(rest, blank);
    fields.name = rest.substr(blank + 1);
    return true;
}

bool FindForeignLine(std::string_view bytes, size_t& number, std::string_view& line)
{
    size_t count = 0;
    number = 0;
    ForEachLine(bytes, [&](std::string_view text, size_t) {
        ++count;
        RecordFields fields;
        const bool known =
            text.find_first_not_of(" \t") == std::string_view::npos || text[0] == '[' || ParseRecordLine(text, fields);
        if (number == 0 && (!known || text.find('\r') != std::string_view::npos))
            number = count, line = text;
    });
    return number != 0;
}

int AppendRecords(RecordList& list, std::shared_ptr<const std::string> bytes)
{
    const std::string_view text(*bytes);
    CStringArray* columns[] = {&list.m_arrDay, &list.m_arrMonth, &list.m_arrYear, &list.m_arrName};
    const RecordField fields[] = {RecordField::Day, RecordField::Month, RecordField::Year, RecordField::Name};
    bool empty = true;
    for (CStringArray* column : columns)
        empty = empty && column->GetSize() == 0;

    int added = 0;
    if (empty && RecordLines::CanHold(text.size())) {
        // The usual load: one number per record, the columns show the lines.
        // Real files hold well under one record per 16 bytes, so the list of
        // lines rarely grows; what it reserves beyond that is never touched.
        auto lines = std::make_shared<RecordLines>(bytes);
        lines->Reserve(text.size() / 16 + 1);
        ForEachLine(text, [&](std::string_view line, size_t) {
            if (added < INT_MAX && lines->Add(line))
                ++added;
        });
        for (int k = 0; k < 4; ++k)
            columns[k]->AddLines(lines, fields[k]);
        return added;
    }

    // Appending to a list that has records: a slice per field.
    // One pass to count lines lets the columns grow once, which keeps the
    // peak memory of a large file near its final size.
    size_t lineCount = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (CStringArray* column : columns) {
        column->AttachBuffer(bytes);
        size_t want = std::min(static_cast<size_t>(column->GetSize()) + lineCount, static_cast<size_t>(INT_MAX));
        column->Reserve(static_cast<int>(want));
    }
    const char* const base = text.data();
    ForEachLine(text, [&](std::string_view line, size_t) {
        RecordFields f;
        if (added == INT_MAX || !ParseRecordLine(line, f))
            return;
        list.m_arrDay.AddSlice(static_cast<size_t>(f.day.data() - base), f.day.size());
        list.m_arrMonth.AddSlice(static_cast<size_t>(f.month.data() - base), f.month.size());
        list.m_arrYear.AddSlice(static_cast<size_t>(f.year.data() - base), f.year.size());
        list.m_arrName.AddSlice(static_cast<size_t>(f.name.data() - base), f.name.size());
        ++added;
    });
    return added;
}

bool LoadDataFile(const std::string& path, RecordList& list, bool* tooLarge)
{
    list.m_nCount = 0;
    list.CurrentRecord = 0;
    auto bytes = std::make_shared<std::string>();
    const filesys::ReadStatus status = filesys::ReadFileBelow(path, *bytes, kMaxDataFileBytes);
    if (tooLarge)
        *tooLarge = status == filesys::ReadStatus::TooLarge;
    if (status != filesys::ReadStatus::Read)
        return false;
    list.m_nCount = AppendRecords(list, std::move(bytes));
    list.CurrentRecord = list.m_nCount != 0 ? 1 : 0;
    return true;
}

std::string FormatDataFile(const RecordList& list, int uiLanguage)
{
    // Every column should hold m_nCount texts; never read past a short one.
    int count = std::min({list.m_nCount, list.m_arrDay.GetSize(), list.m_arrMonth.GetSize(), list.m_arrYear.GetSize(),
                          list.m_arrName.GetSize()});
    size_t size = 64;
    for (int i = 0; i < count; ++i) {
        size += list.m_arrDay[i].size() + list.m_arrMonth[i].size() + list.m_arrYear[i].size() +
                list.m_arrName[i].size() + 5;
    }
    std::string out;
    out.reserve(size);
    out += uiLanguage ? kCalendarHeaderCz : kCalendarHeaderEn;
    out += kLineEnd;
    bool customWritten = false;
    for (int i = 0; i < count; ++i) {
        std::string_view year = list.m_arrYear[i];
        if (!customWritten && year != "0000") {
            out += kLineEnd;
            out += uiLanguage ? kCustomHeaderCz : kCustomHeaderEn;
            out += kLineEnd;
            customWritten = true;
        }
        out += list.m_arrDay[i];
        out += '.';
        out += list.m_arrMonth[i];
        out += ' ';
        out += year;
        out += ' ';
        out += list.m_arrName[i];
        out += kLineEnd;
    }
    return out;
}

bool SaveDataFile(const std::string& path, const RecordList& list, int uiLanguage)
{
    return filesys::WriteFileAtomically(path, FormatDataFile(list, uiLanguage));
}

namespace {

// The box is where the user learns which file to fix, so a real path is
// shown whole. A name longer than any path (a damaged settings file) would
// make the box, at a megabyte, taller than the screen: its text and its OK
// button would be out of reach. The middle goes, so that the start of the
// path and the file's own name stay. A message box breaks lines only at
// blanks, so the name is given its own line breaks: after a "\" or blank
// in the second half of a line, else after kMaxShownLine characters.
std::string ShownFileName(const std::string& fileName)
{
    std::string name = fileName;
    if (name.size() > kMaxShownFileName) {
        const size_t head = (kMaxShownFileName - 3) / 2;
        const size_t tail = kMaxShownFileName - 3 - head;
        name = name.substr(0, head) + "..." + name.substr(name.size() - tail);
    }
    std::string lines;
    size_t start = 0;
    while (name.size() - start > kMaxShownLine) {
        size_t end = name.find_last_of("\\/ ", start + kMaxShownLine - 1);
        end = end != std::string::npos && end >= start + kMaxShownLine / 2 ? end + 1 : start + kMaxShownLine;
        lines.append(name, start, end - start) += '\n';
        start = end;
    }
    return lines.append(name, start, std::string::npos);
}

}  // namespace

std::string DataFileOpenError(const std::string& fileName, int uiLanguage)
{
    if (uiLanguage) {
        // Czech in code page 1250: "Chyba: Nemůžu otevřít soubor ... / Soubor uvedený v Sorvana.ini v položce
        // FILE zřejmě v aktuálním adresáři neexistuje."
        return "Chyba: Nem\xF9\x9Eu otev\xF8\xEDt soubor " + ShownFileName(fileName) +
               "\n\nSoubor uveden\xFD v Sorvana.ini v polo\x9E"
               "ce FILE z\xF8"
               "ejm\xEC v aktu\xE1ln\xEDm adres\xE1\xF8i neexistuje.";
    }
    return "Error: Can't open file " + ShownFileName(fileName) +
           "\n\nThe file specified in Tolvari.ini in FILE section doesn't exist in the current "
           "directory.";
}

std::string DataFileWriteError(const std::string& fileName, int uiLanguage)
{
    if (uiLanguage) {
        // "Chyba: Nemůžu zapsat soubor ... / Změny zůstávají zachovány. Uložte je opětovným zavřením editoru."
        return "Chyba: Nem\xF9\x9Eu zapsat soubor " + ShownFileName(fileName) +
               "\n\nZm\xECny z\xF9st\xE1vaj\xED zachov\xE1ny. Ulo\x9Ete je op\xECtovn\xFDm zav\xF8"
               "en\xEDm editoru.";
    }
    return "Error: Can't write file " + ShownFileName(fileName) +
           "\n\nYour changes are kept. Close the editor again to save them.";
}

std::string DataFileSaveMemoryError(const std::string& fileName, int uiLanguage)
{
    if (uiLanguage) {
        // "Chyba: Nedostatek paměti pro zápis souboru ... / Změny zůstávají zachovány. Uložte je opětovným
        // zavřením editoru."
        return "Chyba: Nedostatek pam\xECti pro z\xE1pis souboru " + ShownFileName(fileName) +
               "\n\nZm\xECny z\xF9st\xE1vaj\xED zachov\xE1ny. Ulo\x9Ete je op\xECtovn\xFDm zav\xF8"
               "en\xEDm editoru.";
    }
    return "Error: Not enough memory to write file " + ShownFileName(fileName) +
           "\n\nYour changes are kept. Close the editor again to save them.";
}

std::string DataFileTooLargeError(const std::string& fileName, int uiLanguage)
{
    if (uiLanguage) {
        // "Chyba: Soubor ... je příliš velký / Datový soubor musí být menší než 2 GB."
        return "Chyba: Soubor " + ShownFileName(fileName) +
               " je p\xF8\xEDli\x9A velk\xFD\n\nDatov\xFD soubor mus\xED b\xFDt men\x9A\xED ne\x9E 2 GB.";
    }
    return "Error: File " + ShownFileName(fileName) + " is too large\n\nA data file must be smaller than 2 GB.";
}

std::string DataFileMemoryError(const std::string& fileName, int uiLanguage)
{
    if (uiLanguage) {
        // "Chyba: Nedostatek paměti pro čtení souboru ... / Soubor je větší, než program může načíst do paměti."
        return "Chyba: Nedostatek pam\xECti pro \xE8ten\xED souboru " + ShownFileName(fileName) +
               "\n\nSoubor je v\xECt\x9A\xED, ne\x9E program m\xF9\x9E"
               "e na\xE8\xEDst do pam\xECti.";
    }
    return "Error: Not enough memory to read file " + ShownFileName(fileName) +
           "\n\nThe file is larger than the program can hold in memory.";
}
