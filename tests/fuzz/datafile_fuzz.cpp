// Any bytes read as a data file: the columns stay parallel, and a save of
// what was read reads back the same records and saves the same bytes again.
#include <cstdint>

#include "FuzzCheck.h"
#include "tests/unit/Rows.h"

static bool Parallel(const RecordList& list)
{
    return list.m_arrDay.GetSize() == list.m_nCount && list.m_arrMonth.GetSize() == list.m_nCount &&
           list.m_arrYear.GetSize() == list.m_nCount && list.m_arrName.GetSize() == list.m_nCount;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RecordList loaded = Parse(std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(Parallel(loaded));
    const std::string saved = FormatDataFile(loaded, 0);
    const RecordList again = Parse(saved);
    FUZZ_CHECK(Parallel(again) && RowsOf(again) == RowsOf(loaded));
    FUZZ_CHECK(FormatDataFile(again, 0) == saved);
    return 0;
}
