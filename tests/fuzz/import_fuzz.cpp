// Any bytes read as contacts or a calendar and merged: reading in small
// pieces gives the same entries as reading at once, and every record the
// merge adds is a valid data-file line that reads back as itself.
#include <cstdint>

#include "FuzzCheck.h"
#include "import/Merge.h"
#include "import/ReadInput.h"
#include "tests/unit/Rows.h"

static std::vector<ImportEntry> Read(std::string_view text, size_t piece, const ReadContext& context)
{
    TextSource source(text, piece);
    std::vector<ImportEntry> entries;
    ReadInput(source, context, [&](const ImportEntry& e) { entries.push_back(e); });
    return entries;
}

static bool Same(const ImportEntry& a, const ImportEntry& b)
{
    return a.name == b.name && a.day == b.day && a.month == b.month && a.year == b.year && a.Reason() == b.Reason() &&
           a.line == b.line && a.oneOff == b.oneOff;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadContext context;
    context.today = Date{7, 12, 2026};
    context.localOffset = [](long long utc) { return static_cast<int>(utc % 1500) - 750; };
    const std::vector<ImportEntry> whole = Read(text, 65536, context);
    const std::vector<ImportEntry> pieces = Read(text, 1 + (size ? data[0] % 7 : 0), context);
    FUZZ_CHECK(whole.size() == pieces.size());
    for (size_t i = 0; i < whole.size(); ++i)
        FUZZ_CHECK(Same(whole[i], pieces[i]));

    RecordList list;
    ImportMerge merge(list);
    merge.Add(whole, "fuzz", [](const std::string&, bool) {});
    for (int i = 0; i < list.m_nCount; ++i) {
        FUZZ_CHECK(list.m_arrYear[i].size() == 4);
        FUZZ_CHECK(list.m_arrName[i].find_first_of("\r\n") == std::string::npos);
    }
    FUZZ_CHECK(RowsOf(Parse(FormatDataFile(list, 0))) == RowsOf(list));
    return 0;
}
