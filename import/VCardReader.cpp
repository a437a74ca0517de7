#include "import/VCardReader.h"

#include "contentlines/Escapes.h"

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// N is family;given;additional;prefixes;suffixes, each possibly a list; the
// escapes are undone once, after both splits.
std::string NameFromN(const ContentLine& n)
{
    const std::vector<std::string> parts = SplitText(n.Utf8Value(), ';', true);
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

bool IsAnniversaryName(const std::string& name)
{
    return name == "ANNIVERSARY" || name == "X-ANNIVERSARY" || name == "X-EVOLUTION-ANNIVERSARY" ||
           name == "X-MS-ANNIVERSARY" || name == "X-KADDRESSBOOK-X-ANNIVERSARY";
}

// The lines a card's entries are made of; the rest (photos above all) is
// not kept.
bool Needed(const ContentLine& line)
{
    return line.name == "FN" || line.name == "N" || line.name == "BDAY" || IsAnniversaryName(line.name) ||
           line.name == "X-ABDATE" || line.name == "X-ABLABEL" || line.name == "X-ANDROID-CUSTOM";
}

struct DateLine {
    std::string property, value, suffix;  // suffix: after the name, "" for a birthday
    bool text = false;
};

// A date property of the card, or false if the line is none.
bool DateOf(const std::vector<ContentLine>& card, const ContentLine& line, DateLine& out)
{
    out.property = line.name;
    out.value = Trimmed(line.Utf8Value());
    out.text = UpperAscii(line.Param("VALUE")) == "TEXT";
    if (line.name == "BDAY")
        return true;
    if (IsAnniversaryName(line.name)) {
        out.suffix = kAnniversarySuffix;
        return true;
    }
    std::string label;
    if (line.name == "X-ABDATE") {
        label = LabelOf(card, line.group);
    } else if (line.name == "X-ANDROID-CUSTOM") {
        // "vnd.android.cursor.item/contact_event;DATE;TYPE;LABEL": type 1 is
        // an anniversary, 2 other, 3 the birthday, 0 one the user named.
        const std::vector<std::string> parts = SplitText(out.value, ';');
        if (parts.size() < 3 || parts[0] != "vnd.android.cursor.item/contact_event")
            return false;
        out.value = Trimmed(parts[1]);
        if (parts[2] == "3")
            return true;
        label = parts[2] == "1" ? "anniversary" : parts.size() > 3 && !Trimmed(parts[3]).empty() ? parts[3] : "other";
    } else {
        return false;
    }
    label = Trimmed(label);
    if (UpperAscii(label).find("ANNIVERSARY") != std::string::npos)
        out.suffix = kAnniversarySuffix;
    else
        out.suffix = " - " + (label.empty() ? std::string("other") : label);
    return true;
}

// A date also given as text (vCard 4.0's ALTID): the text is left out.
bool TextAlternative(const std::vector<ContentLine>& card, const ContentLine& text)
{
    const std::string altId = text.Param("ALTID");
    if (altId.empty() || UpperAscii(text.Param("VALUE")) != "TEXT")
        return false;
    for (const ContentLine& line : card) {
        if (line.name == text.name && line.Param("ALTID") == altId && UpperAscii(line.Param("VALUE")) != "TEXT")
            return true;
    }
    return false;
}

void ReadCard(const std::vector<ContentLine>& card, const EntrySink& sink)
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
        DateLine dated;
        if (!DateOf(card, line, dated) || TextAlternative(card, line))
            continue;
        ImportEntry entry;
        entry.name = name;
        entry.line = line.number;
        entry.property = dated.property;
        Date date;
        if (name.empty()) {
            entry.skip = Skip::NoName;
        } else if (dated.text) {
            entry.skip = Skip::DateText;
            entry.value = UnescapeText(dated.value);
        } else if (!ParseDate(dated.value, date)) {
            entry.skip = Skip::NotADate;
            entry.value = dated.value.substr(0, 80);
        } else {
            // Apple marks a date without a year by this year parameter.
            const std::string omitted = line.Param("X-APPLE-OMIT-YEAR");
            if (!omitted.empty() && omitted == dated.value.substr(0, 4))
                date.year = 0;
            entry.day = date.day;
            entry.month = date.month;
            entry.year = BirthdayYear(date.year);
            entry.name += dated.suffix;
        }
        sink(entry);
    }
}

std::string CardName(const std::vector<ContentLine>& card)
{
    for (const ContentLine& line : card) {
        if (line.name == "FN")
            return Trimmed(UnescapeText(line.Utf8Value()));
    }
    return std::string();
}

}  // namespace

int ReadVCardLines(ContentLineReader& reader, int begin, const EntrySink& sink)
{
    int cards = 0;
    std::vector<ContentLine> card;
    int depth = 1;  // vCard 2.1 may hold a card inside a card (AGENT); its lines stay apart
    std::string last;
    auto unended = [&] {
        ImportEntry entry;
        entry.name = CardName(card);
        entry.skip = Skip::Unended;
        entry.line = begin;
        sink(entry);
    };
    ContentLine line;
    while (reader.Next(line)) {
        const bool vcard = UpperAscii(line.value) == "VCARD";
        if (line.name == "BEGIN" && vcard) {
            if (depth == 1 && last != "AGENT") {
                unended();
                card.clear();
                ++cards;
            }
            depth = depth >= 2 || (depth == 1 && last == "AGENT") ? depth + 1 : 1;
            if (depth == 1)
                begin = line.number;
            reader.KeepFoldBlank(false);
        } else if (line.name == "END" && vcard && depth > 0) {
            if (--depth == 0) {
                ReadCard(card, sink);
                card.clear();
                ++cards;
            }
        } else if (depth == 1) {
            if (line.name == "VERSION")
                reader.KeepFoldBlank(line.value == "2.1");
        }
        last = line.name;
        if (depth == 1 && Needed(line))
            card.push_back(std::move(line));
    }
    if (depth > 0) {
        unended();
        ++cards;
    }
    return cards;
}
