#include "import/VCardReader.h"

#include <unordered_map>
#include <unordered_set>

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

// What a card's lines say of each other, gathered in one pass: the labels
// of Apple's grouped dates, and the dates also given as text (vCard 4.0's
// ALTID), so that a card of many dates takes time in proportion to its size.
struct CardIndex {
    std::unordered_map<std::string, std::string> labels;  // by group in upper case
    std::unordered_set<std::string> altDates;             // property and ALTID of a date given as a date

    explicit CardIndex(const std::vector<ContentLine>& card)
    {
        for (const ContentLine& line : card) {
            const std::string altId = line.Param("ALTID");
            if (line.name == "X-ABLABEL" && !line.group.empty()) {
                // Apple writes its own labels as "_$!<Anniversary>!$_".
                std::string label = UnescapeText(line.Utf8Value());
                if (label.size() > 8 && label.compare(0, 4, "_$!<") == 0 &&
                    label.compare(label.size() - 4, 4, ">!$_") == 0)
                    label = label.substr(4, label.size() - 8);
                labels.emplace(UpperAscii(line.group), label);
            } else if (!altId.empty() && UpperAscii(line.Param("VALUE")) != "TEXT") {
                altDates.insert(line.name + '\n' + altId);
            }
        }
    }
    std::string LabelOf(const std::string& group) const
    {
        const auto found = group.empty() ? labels.end() : labels.find(UpperAscii(group));
        return found == labels.end() ? std::string() : found->second;
    }
    // A date also given as text: the text is left out.
    bool TextAlternative(const ContentLine& text) const
    {
        const std::string altId = text.Param("ALTID");
        return !altId.empty() && UpperAscii(text.Param("VALUE")) == "TEXT" && altDates.count(text.name + '\n' + altId);
    }
};

// The anniversary properties of vCard 4.0 and of the exporters before it:
// Evolution and KDE's (X-ANNIVERSARY, X-EVOLUTION-, X-KADDRESSBOOK-X-),
// Outlook's, and the Windows Address Book's and Outlook Express's
// X-WAB-WEDDING_ANNIVERSARY (as FolkerKinzel/VCards documents them).
bool IsAnniversaryName(const std::string& name)
{
    return name == "ANNIVERSARY" || name == "X-ANNIVERSARY" || name == "X-EVOLUTION-ANNIVERSARY" ||
           name == "X-MS-ANNIVERSARY" || name == "X-KADDRESSBOOK-X-ANNIVERSARY" || name == "X-WAB-WEDDING_ANNIVERSARY";
}

// A property of a kind not taken that may hold a date (DEATHDATE of RFC
// 6474, an exporter's own): listed with its reason when it does.
bool MayBeDated(const std::string& name)
{
    for (const char* word : {"DATE", "BDAY", "BIRTH", "ANNIV", "WEDDING", "DEATH"}) {
        if (name.find(word) != std::string::npos)
            return true;
    }
    return false;
}

// The lines a card's entries are made of; the rest (photos above all) is
// not kept.
bool Needed(const ContentLine& line)
{
    return line.name == "FN" || line.name == "N" || line.name == "BDAY" || IsAnniversaryName(line.name) ||
           line.name == "X-ABDATE" || line.name == "X-ABLABEL" || line.name == "X-ANDROID-CUSTOM" ||
           MayBeDated(line.name);
}

struct DateLine {
    std::string property, value, suffix;  // suffix: after the name, "" for a birthday
    bool text = false;
};

// A date property of the card, or false if the line is none.
bool DateOf(const CardIndex& card, const ContentLine& line, DateLine& out)
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
        label = card.LabelOf(line.group);
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
        Date date;
        return MayBeDated(line.name) && ParseDate(out.value, date);
    }
    label = Trimmed(label);
    if (UpperAscii(label).find("ANNIVERSARY") != std::string::npos)
        out.suffix = kAnniversarySuffix;
    else
        out.suffix = " - " + (label.empty() ? std::string("other") : label);
    return true;
}

void ReadCard(const std::vector<ContentLine>& card, const Date& today, const EntrySink& sink)
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
    const CardIndex index(card);
    for (const ContentLine& line : card) {
        DateLine dated;
        if (!DateOf(index, line, dated) || index.TextAlternative(line))
            continue;
        ImportEntry entry;
        entry.name = name;
        entry.line = line.number;
        entry.property = dated.property;
        Date date;
        const bool known = line.name == "BDAY" || IsAnniversaryName(line.name) || line.name == "X-ABDATE" ||
                           line.name == "X-ANDROID-CUSTOM";
        if (name.empty()) {
            entry.skip = Skip::NoName;
        } else if (!known) {
            entry.skip = line.name.find("DEATH") != std::string::npos ? Skip::Death : Skip::NotRead;
            entry.value = dated.value.substr(0, 80);
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
            entry.year = BirthdayYear(date, today);
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

int ReadVCardLines(ContentLineReader& reader, int begin, const Date& today, const EntrySink& sink)
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
                ReadCard(card, today, sink);
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
