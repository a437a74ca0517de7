// The in-memory record list: four parallel text columns, code page 1250 bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A growable array of texts with the operations the program uses. Texts are
// raw bytes; nothing here converts, trims or validates them.
class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    const std::string& GetAt(int i) const { return m_items[static_cast<size_t>(i)]; }
    const std::string& operator[](int i) const { return GetAt(i); }
    void SetAt(int i, std::string_view text) { m_items[static_cast<size_t>(i)].assign(text); }
    // Index equal to the size appends; a larger index grows with empty texts.
    void SetAtGrow(int i, std::string_view text)
    {
        if (i >= GetSize())
            m_items.resize(static_cast<size_t>(i) + 1);
        SetAt(i, text);
    }
    void Add(std::string_view text) { m_items.emplace_back(text); }
    void RemoveAt(int i) { m_items.erase(m_items.begin() + i); }
    void RemoveAll() { m_items.clear(); }
    void Reserve(int n) { m_items.reserve(static_cast<size_t>(n)); }

private:
    std::vector<std::string> m_items;
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
