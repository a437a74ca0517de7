#include "records/RecordList.h"

#include <utility>

#include "records/DataFile.h"
#include "records/TextLines.h"

RecordLines::RecordLines(std::shared_ptr<const std::string> text)
    : m_text(std::move(text)), m_base(m_text->data()), m_end(m_text->data() + m_text->size())
{}

bool RecordLines::AddIrregular(std::string_view line)
{
    RecordFields fields;
    if (!ParseRecordLine(line, fields))
        return false;
    m_starts.push_back(static_cast<uint32_t>(line.data() - m_base));
    m_keys.push_back(0);
    return true;
}

std::string_view RecordLines::NameFrom(const char* p) const
{
    return LineAt(p, m_end);
}

std::string_view RecordLines::SplitField(uint32_t start, RecordField field) const
{
    // Add accepted this line, so the rules split it.
    RecordFields fields;
    ParseRecordLine(LineAt(m_base + start, m_end), fields);
    switch (field) {
    case RecordField::Day:
        return fields.day;
    case RecordField::Month:
        return fields.month;
    case RecordField::Year:
        return fields.year;
    case RecordField::Name:
        break;
    }
    return fields.name;
}

CStringArray::Slot CStringArray::OwnedSlot(std::string_view text)
{
    if (m_free.empty()) {
        m_owned.emplace_back(text);
        return Slot{static_cast<uint32_t>(m_owned.size() - 1), kOwned};
    }
    const uint32_t index = m_free.back();
    m_owned[index].assign(text.data(), text.size());
    m_free.pop_back();
    return Slot{index, kOwned};
}

void CStringArray::SetAside(const Slot& s)
{
    if (s.length & kOwned)
        m_replaced.push_back(s.offset);
}

void CStringArray::ReleaseReplaced()
{
    m_free.reserve(m_free.size() + m_replaced.size());
    for (const uint32_t index : m_replaced) {
        std::string().swap(m_owned[index]);
        m_free.push_back(index);
    }
    m_replaced.clear();
}

void CStringArray::MakeSlots()
{
    // A view has no slots or texts of its own yet.
    const std::shared_ptr<const RecordLines> lines = std::move(m_lines);
    m_lines.reset();
    m_buffer = lines->Text();
    m_base = m_buffer->data();
    const int count = lines->Count();
    m_slots.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string_view text = lines->Field(i, m_field);
        m_slots.push_back(Slot{static_cast<uint32_t>(text.data() - m_base), static_cast<uint32_t>(text.size())});
    }
}

void CStringArray::SetAt(int i, std::string_view text)
{
    if (GetAt(i) == text)
        return;
    if (m_lines)
        MakeSlots();
    // The old text is set aside, not overwritten, so views of it stay valid.
    // Whatever can fail comes before the first change.
    m_replaced.reserve(m_replaced.size() + 1);
    const Slot added = OwnedSlot(text);
    Slot& slot = m_slots[static_cast<size_t>(i)];
    SetAside(slot);
    slot = added;
}

void CStringArray::SetAtGrow(int i, std::string_view text)
{
    if (m_lines)
        MakeSlots();
    if (i >= GetSize()) {
        Slot added = OwnedSlot(text);
        m_slots.resize(static_cast<size_t>(i) + 1, Slot{0, 0});
        m_slots[static_cast<size_t>(i)] = added;
        return;
    }
    SetAt(i, text);
}

void CStringArray::RemoveAt(int i)
{
    if (m_lines)
        MakeSlots();
    m_replaced.reserve(m_replaced.size() + 1);
    SetAside(m_slots[static_cast<size_t>(i)]);
    m_slots.erase(m_slots.begin() + i);
}

void CStringArray::RemoveAll()
{
    m_lines.reset();
    m_slots.clear();
    m_owned.clear();
    m_replaced.clear();
    m_free.clear();
    m_buffer.reset();
    m_base = nullptr;
}

void CStringArray::Reserve(int n)
{
    if (m_lines)
        MakeSlots();
    m_slots.reserve(static_cast<size_t>(n));
}

void CStringArray::AttachBuffer(std::shared_ptr<const std::string> buffer)
{
    if (m_lines)
        MakeSlots();
    if (buffer == m_buffer)
        return;
    for (Slot& s : m_slots) {
        if (s.length & kOwned)
            continue;
        s = s.length == 0 ? Slot{0, 0} : OwnedSlot(std::string_view(m_base + s.offset, s.length));
    }
    m_buffer = std::move(buffer);
    m_base = m_buffer ? m_buffer->data() : nullptr;
}

void CStringArray::AddCopiedSlice(size_t offset, size_t length)
{
    // Beyond what a slot can address: keep a copy instead.
    m_slots.push_back(OwnedSlot(std::string_view(m_base + offset, length)));
}

void CStringArray::AddLines(std::shared_ptr<const RecordLines> lines, RecordField field)
{
    if (GetSize() == 0) {
        RemoveAll();
        m_lines = std::move(lines);
        m_field = field;
        return;
    }
    AttachBuffer(lines->Text());
    const int count = lines->Count();
    m_slots.reserve(m_slots.size() + static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string_view text = lines->Field(i, field);
        AddSlice(static_cast<size_t>(text.data() - m_base), text.size());
    }
}
