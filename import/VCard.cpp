#include <cstdio>

#include "import/ContentLines.h"
#include "import/Entries.h"

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// N is family;given;additional;prefixes;suffixes, each possibly a list.
std::string NameFromN(const ContentLine& n)
{
    const std::vector<std::string> parts = SplitText(n.Utf8Value(), ';');
    std::string name;
    for (size_t k : {3, 1, 2, 0, 4}) {
        if (k >= parts.size())
            continue;
        for (const std::string& item : SplitText(parts[k], ',')) {
            const std::string word = Trimmed(item);
            if (!word.empty())
                name += (name.empty() ? "" : " ") + word;
        }
    }
    return name;
}

// Apple writes its own labels as "_$!<Anniversary>!$_".
std::string LabelOf(const std::vector<ContentLine>& card, const std::string& group)
{
    for (const ContentLine& line : card) {
        if (!group.empty() && line.name == "X-ABLABEL" && UpperAscii(line.group) == UpperAscii(group)) {
            std::string label = UnescapeText(line.Utf8Value());
            if (label.size() > 8 && label.compare(0, 4, "_$!<") == 0 && label.compare(label.size() - 4, 4, ">!$_") == 0)
                label = label.substr(4, label.size() - 8);
            return label;
        }
    }
    return std::string();
}

void ReadCard(const std::vector<ContentLine>& card, std::vector<ImportEntry>& entries)
{
    std::string name;
    for (const ContentLine& line : card) {
        if (line.name == "FN" && name.empty())
            name = Trimmed(UnescapeText(line.Utf8Value()));
    }
    for (const ContentLine& line : card) {
        if (line.name == "N" && name.empty())
            name = NameFromN(line);
    }
    for (const ContentLine& line : card) {
        bool anniversary = line.name == "ANNIVERSARY" || line.name == "X-ANNIVERSARY" ||
                           line.name == "X-EVOLUTION-ANNIVERSARY" || line.name == "X-MS-ANNIVERSARY";
        if (line.name != "BDAY" && !anniversary && line.name != "X-ABDATE")
            continue;
        ImportEntry entry;
        entry.name = name;
        const std::string value = Trimmed(line.Utf8Value());
        std::string label;
        if (line.name == "X-ABDATE") {
            label = LabelOf(card, line.group);
            anniversary = UpperAscii(label).find("ANNIVERSARY") != std::string::npos;
        }
        Date date;
        if (line.name == "X-ABDATE" && !anniversary) {
            entry.skipped = "a date labelled \"" + label + "\", neither a birthday nor an anniversary";
        } else if (name.empty()) {
            entry.skipped = "a card without a name (FN or N)";
        } else if (UpperAscii(line.Param("VALUE")) == "TEXT") {
            entry.skipped = line.name + " is text, not a date: " + UnescapeText(value);
        } else if (!ParseDate(value, date)) {
            entry.skipped = line.name + " is not a date of day and month: " + value;
        } else {
            // Apple marks a date without a year by this year parameter.
            const std::string omitted = line.Param("X-APPLE-OMIT-YEAR");
            if (!omitted.empty() && omitted == value.substr(0, 4))
                date.year = 0;
            entry.day = date.day;
            entry.month = date.month;
            entry.year = BirthdayYear(date.year);
            if (anniversary)
                entry.name += kAnniversarySuffix;
        }
        entries.push_back(std::move(entry));
    }
}

}  // namespace

std::string BirthdayYear(int year)
{
    if (year <= 0 || year == 8888 || year >= 9999)
        return "8888";
    char text[8];
    std::snprintf(text, sizeof text, "%04d", year);
    return text;
}

std::vector<ImportEntry> ReadVCards(std::string_view text)
{
    std::vector<ImportEntry> entries;
    std::vector<ContentLine> card;
    int depth = 0;  // vCard 2.1 may hold a card inside a card; its lines stay apart
    for (ContentLine& line : ReadContentLines(text)) {
        const bool vcard = UpperAscii(line.value) == "VCARD";
        if (line.name == "BEGIN" && vcard) {
            ++depth;
        } else if (line.name == "END" && vcard && depth > 0) {
            if (--depth == 0) {
                ReadCard(card, entries);
                card.clear();
            }
        } else if (depth == 1) {
            card.push_back(std::move(line));
        }
    }
    return entries;
}
