// The data file reader and writer on any bytes.
//
// Mode 0 reads the input as a data file: the columns stay parallel, every
// record meets the conditions under which a save reads back the same, and so
// writing and reading again gives the same list and a second writing the
// same bytes. Mode 1 builds a list from the input and checks the round trip
// for every list that meets those conditions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "records/DataFile.h"
#include "tests/unit/RecordRows.h"

namespace {

bool Parallel(const RecordList& list)
{
    return list.m_arrDay.GetSize() == list.m_nCount && list.m_arrMonth.GetSize() == list.m_nCount &&
           list.m_arrYear.GetSize() == list.m_nCount && list.m_arrName.GetSize() == list.m_nCount;
}

// A saved file reads back the same when no day holds a "." or starts with
// "[", no month or year holds a blank, and no field holds a line feed.
bool RoundTrips(const std::vector<std::string>& r)
{
    for (const std::string& field : r) {
        if (field.find('\n') != std::string::npos)
            return false;
    }
    return r[0].find('.') == std::string::npos && (r[0].empty() || r[0][0] != '[') &&
           r[1].find(' ') == std::string::npos && r[2].find(' ') == std::string::npos;
}

RecordList Read(const std::string& bytes)
{
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(bytes));
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const uint8_t mode = in.ConsumeIntegral<uint8_t>();
    const int uiLanguage = mode & 2 ? 1 : 0;

    if ((mode & 1) == 0) {
        const std::string file = in.ConsumeRemainingBytesAsString();
        const RecordList loaded = Read(file);
        FUZZ_CHECK(loaded.m_nCount >= 0 && Parallel(loaded));
        const Rows rows = RowsOf(loaded);
        for (const auto& r : rows)
            FUZZ_CHECK(RoundTrips(r));
        const std::string saved = FormatDataFile(loaded, uiLanguage);
        const RecordList again = Read(saved);
        FUZZ_CHECK(Parallel(again));
        FUZZ_CHECK(RowsOf(again) == rows);
        FUZZ_CHECK(FormatDataFile(again, uiLanguage) == saved);
        return 0;
    }

    Rows rows;
    RecordList list;
    while (in.remaining_bytes() > 0 && rows.size() < 64) {
        std::vector<std::string> r;
        for (int field = 0; field < 4; ++field)
            r.push_back(in.ConsumeRandomLengthString(64));
        if (!RoundTrips(r))
            continue;
        list.m_arrDay.Add(r[0]);
        list.m_arrMonth.Add(r[1]);
        list.m_arrYear.Add(r[2]);
        list.m_arrName.Add(r[3]);
        rows.push_back(r);
    }
    list.m_nCount = static_cast<int>(rows.size());
    const std::string saved = FormatDataFile(list, uiLanguage);
    const RecordList loaded = Read(saved);
    FUZZ_CHECK(Parallel(loaded));
    FUZZ_CHECK(RowsOf(loaded) == rows);
    return 0;
}
