// Record lists written and compared as rows of four fields, for the tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "records/RecordList.h"

using Rows = std::vector<std::vector<std::string>>;

inline Rows RowsOf(const RecordList& list)
{
    Rows rows;
    for (int i = 0; i < list.m_nCount; ++i) {
        rows.push_back({std::string(list.m_arrDay[i]), std::string(list.m_arrMonth[i]),
                        std::string(list.m_arrYear[i]), std::string(list.m_arrName[i])});
    }
    return rows;
}

inline RecordList ListOf(const Rows& rows)
{
    RecordList list;
    for (const auto& r : rows) {
        list.m_arrDay.Add(r[0]), list.m_arrMonth.Add(r[1]);
        list.m_arrYear.Add(r[2]), list.m_arrName.Add(r[3]);
    }
    list.m_nCount = static_cast<int>(rows.size());
    return list;
}

// A literal with its NUL bytes.
template <std::size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}
