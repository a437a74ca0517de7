// The in-memory record list: four parallel text columns, code page 1250 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A growable array of texts with the operations the program uses. Texts are
// raw bytes (NUL bytes included); nothing here converts, trims or validates them.
//
// A loaded data file of a million records would cost four million heap strings,
// so an element is a compact slot: either a slice of one shared, immutable text
// buffer (the loaded file) or an index into a side list of texts the program
// set itself. GetAt therefore hands out a view, valid until that element is
// changed or removed, the array is emptied or another buffer is attached.
class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_slots.size()); }
    std::string_view GetAt(int i) const
    {
        const Slot& s = m_slots[static_cast<size_t>(i)];
        if (s.length & kOwned)
            return m_owned[s.offset];
        return std::string_view(m_base + s.offset, s.length);
    }
    std::string_view operator[](int i) const { return GetAt(i); }
    void SetAt(int i, std::string_view text);
    // Index equal to the size appends; a larger index grows with empty texts.
    void SetAtGrow(int i, std::string_view text);
    void Add(std::string_view text) { SetAtGrow(GetSize(), text); }
    void RemoveAt(int i) { m_slots.erase(m_slots.begin() + i); }
    void RemoveAll();
    void Reserve(int n) { m_slots.reserve(static_cast<size_t>(n)); }

    // Bulk loading: appends buffer[offset, offset + length) without copying
    // it. All columns of one list may share the buffer; an array refers to
    // one buffer at a time, so attaching another copies the old slices out.
    void AttachBuffer(std::shared_ptr<const std::string> buffer);
    void AddSlice(size_t offset, size_t length);

private:
    // The top bit of length marks a text of m_owned, with offset as its index.
    static constexpr uint32_t kOwned = 0x80000000u;
    struct Slot {
        uint32_t offset;
        uint32_t length;
    };
    Slot OwnedSlot(std::string text);

    std::vector<Slot> m_slots;
    std::shared_ptr<const std::string> m_buffer;
    const char* m_base = nullptr;
    // A deque, so that adding a text leaves the others (and views of them)
    // in place. Texts of removed elements stay until RemoveAll; the editor
    // changes a handful of records per run, so this does not grow in practice.
    std::deque<std::string> m_owned;
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
