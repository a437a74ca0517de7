// The in-memory record list: four parallel text columns, code page 1250 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Which text of a record line a column shows.
enum class RecordField : uint8_t { Day, Month, Year, Name };

// The record lines of one loaded data file: its bytes and where each line
// that holds a record starts. The four columns of a freshly loaded list all
// show it, one field each, so loading stores one number per record instead of
// a slot per field; a column turns into slots when it is first changed.
class RecordLines {
public:
    // The text must be shorter than 2 GiB (CanHold), as offsets are 31 bits.
    explicit RecordLines(std::shared_ptr<const std::string> text);
    static bool CanHold(size_t textSize) { return textSize < kRegular; }

    // Adds a line of the text (line end removed) if the reading rules make a
    // record of it; false if they do not. Inline, as loading calls it per line.
    bool Add(std::string_view line)
    {
        if (!IsRegular(line))
            return AddIrregular(line);
        const uint32_t start = static_cast<uint32_t>(line.data() - m_base);
        m_starts.push_back(start | kRegular);
        m_keys.push_back(PackKey(line.data(), line.data() + 3));
        return true;
    }
    void Reserve(size_t lines)
    {
        m_starts.reserve(lines);
        m_keys.reserve(lines);
    }
    int Count() const { return static_cast<int>(m_starts.size()); }
    const std::shared_ptr<const std::string>& Text() const { return m_text; }
    // Day and month of record i as one number (PackKey) when its line has
    // the layout "DD.MM YYYY name", else 0; a pass over all records then
    // compares them without reading the lines.
    uint32_t DayMonthKey(int i) const { return m_keys[static_cast<size_t>(i)]; }
    // Two two-byte texts as one number, first byte lowest.
    static uint32_t PackKey(const char* day, const char* month)
    {
        return static_cast<uint32_t>(static_cast<unsigned char>(day[0])) |
               static_cast<uint32_t>(static_cast<unsigned char>(day[1])) << 8 |
               static_cast<uint32_t>(static_cast<unsigned char>(month[0])) << 16 |
               static_cast<uint32_t>(static_cast<unsigned char>(month[1])) << 24;
    }

    std::string_view Field(int i, RecordField field) const
    {
        const uint32_t start = m_starts[static_cast<size_t>(i)];
        if (!(start & kRegular))
            return SplitField(start, field);
        // "DD.MM YYYY name": the fields are at fixed places.
        const char* p = m_base + (start & ~kRegular);
        switch (field) {
        case RecordField::Day:
            return std::string_view(p, 2);
        case RecordField::Month:
            return std::string_view(p + 3, 2);
        case RecordField::Year:
            return std::string_view(p + 6, 4);
        case RecordField::Name:
            break;
        }
        return NameFrom(p + 11);
    }

private:
    // The top bit marks a line in the layout the editor writes.
    static constexpr uint32_t kRegular = 0x80000000u;
    // The layout the editor writes, "DD.MM YYYY name": the first "." at 2,
    // the next blanks at 5 and 10, and no "[" first. For such a line the
    // reading rules give the fields at fixed places.
    static bool IsRegular(std::string_view line)
    {
        if (line.size() < 11)
            return false;
        const char* p = line.data();
        return p[2] == '.' && p[5] == ' ' && p[10] == ' ' && p[0] != '.' && p[1] != '.' && p[0] != '[' && p[3] != ' ' &&
               p[4] != ' ' && p[6] != ' ' && p[7] != ' ' && p[8] != ' ' && p[9] != ' ';
    }
    bool AddIrregular(std::string_view line);
    std::string_view SplitField(uint32_t start, RecordField field) const;
    std::string_view NameFrom(const char* p) const;

    std::shared_ptr<const std::string> m_text;
    const char* m_base;
    const char* m_end;
    std::vector<uint32_t> m_starts;
    std::vector<uint32_t> m_keys;
};

// A growable array of texts with the operations the program uses. Texts are
// raw bytes (NUL bytes included); nothing here converts, trims or validates them.
//
// A loaded data file of a million records would cost four million heap strings,
// so an array is either a view of one field of loaded record lines (until it
// is first changed) or a list of compact slots: each a slice of one shared,
// immutable text buffer (the loaded file) or an index into a side list of
// texts the program set itself.
//
// GetAt therefore hands out a view, not a copy. A view stays valid, showing
// the text it was taken from, through SetAt, SetAtGrow, Add and RemoveAt of
// any element (a replaced or removed text is only set aside), and ends with
// ReleaseReplaced, RemoveAll, AttachBuffer, AddLines into an empty array (a
// load) or the array itself. Whoever keeps a text longer copies it.
class CStringArray {
public:
    int GetSize() const { return m_lines ? m_lines->Count() : static_cast<int>(m_slots.size()); }
    std::string_view GetAt(int i) const
    {
        if (m_lines)
            return m_lines->Field(i, m_field);
        const Slot& s = m_slots[static_cast<size_t>(i)];
        if (s.length & kOwned)
            return m_owned[s.offset];
        return std::string_view(m_base + s.offset, s.length);
    }
    std::string_view operator[](int i) const { return GetAt(i); }
    // A text equal to the present one is left as it is, allocating nothing.
    void SetAt(int i, std::string_view text);
    // Index equal to the size appends; a larger index grows with empty texts.
    void SetAtGrow(int i, std::string_view text);
    void Add(std::string_view text) { SetAtGrow(GetSize(), text); }
    void RemoveAt(int i);
    void RemoveAll();
    void Reserve(int n);
    // Frees the texts that SetAt and RemoveAt set aside; call it when no view
    // of them can be in use (the editor does after each change).
    void ReleaseReplaced();

    // Bulk loading: appends buffer[offset, offset + length) without copying
    // it. All columns of one list may share the buffer; an array refers to
    // one buffer at a time, so attaching another copies the old slices out.
    void AttachBuffer(std::shared_ptr<const std::string> buffer);
    void AddSlice(size_t offset, size_t length)
    {
        if (m_lines)
            MakeSlots();
        // Inline: loading calls this four times per line.
        if (offset < kOwned && length < kOwned)
            m_slots.push_back(Slot{static_cast<uint32_t>(offset), static_cast<uint32_t>(length)});
        else
            AddCopiedSlice(offset, length);
    }
    // Appends the field of every record line; an empty array just shows them.
    void AddLines(std::shared_ptr<const RecordLines> lines, RecordField field);
    // The record lines whose field this array shows, if it is such a view.
    const RecordLines* ShownLines(RecordField field) const
    {
        return m_lines && m_field == field ? m_lines.get() : nullptr;
    }

private:
    // The top bit of length marks a text of m_owned, with offset as its index.
    static constexpr uint32_t kOwned = 0x80000000u;
    struct Slot {
        uint32_t offset;
        uint32_t length;
    };
    Slot OwnedSlot(std::string_view text);
    void SetAside(const Slot& s);
    void AddCopiedSlice(size_t offset, size_t length);
    // From a view of record lines to slices of their text.
    void MakeSlots();

    std::shared_ptr<const RecordLines> m_lines;  // set: the array is this view
    RecordField m_field = RecordField::Day;
    std::vector<Slot> m_slots;
    std::shared_ptr<const std::string> m_buffer;
    const char* m_base = nullptr;
    // A deque, so that adding a text leaves the others (and views of them)
    // in place. Texts of changed and removed elements wait in m_replaced for
    // ReleaseReplaced, which frees them and lists their places in m_free for
    // reuse: the texts held stay proportional to the live elements.
    std::deque<std::string> m_owned;
    std::vector<uint32_t> m_replaced;
    std::vector<uint32_t> m_free;
};

// Record i is element i of each column; all four hold m_nCount elements.
struct RecordList {
    int m_nCount = 0;
    int CurrentRecord = 0;  // where the editor opens; -1 means none
    CStringArray m_arrDay;
    CStringArray m_arrMonth;
    CStringArray m_arrYear;
    CStringArray m_arrName;
};
