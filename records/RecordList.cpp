#include "records/RecordList.h"

#include <utility>

CStringArray::Slot CStringArray::OwnedSlot(std::string text)
{
    m_owned.push_back(std::move(text));
    return Slot{static_cast<uint32_t>(m_owned.size() - 1), kOwned};
}

void CStringArray::SetAt(int i, std::string_view text)
{
    Slot& s = m_slots[static_cast<size_t>(i)];
    if (s.length & kOwned) {
        m_owned[s.offset].assign(text.data(), text.size());
        return;
    }
    s = OwnedSlot(std::string(text));
}

void CStringArray::SetAtGrow(int i, std::string_view text)
{
    if (i >= GetSize()) {
        Slot added = OwnedSlot(std::string(text));
        m_slots.resize(static_cast<size_t>(i) + 1, Slot{0, 0});
        m_slots[static_cast<size_t>(i)] = added;
        return;
    }
    SetAt(i, text);
}

void CStringArray::RemoveAll()
{
    m_slots.clear();
    m_owned.clear();
    m_buffer.reset();
    m_base = nullptr;
}

void CStringArray::AttachBuffer(std::shared_ptr<const std::string> buffer)
{
    if (buffer == m_buffer)
        return;
    for (Slot& s : m_slots) {
        if (s.length & kOwned)
            continue;
        s = s.length == 0 ? Slot{0, 0} : OwnedSlot(std::string(m_base + s.offset, s.length));
    }
    m_buffer = std::move(buffer);
    m_base = m_buffer ? m_buffer->data() : nullptr;
}

void CStringArray::AddSlice(size_t offset, size_t length)
{
    if (offset >= kOwned || length >= kOwned) {
        // Beyond what a slot can address: keep a copy instead.
        m_slots.push_back(OwnedSlot(std::string(m_base + offset, length)));
        return;
    }
    m_slots.push_back(Slot{static_cast<uint32_t>(offset), static_cast<uint32_t>(length)});
}
