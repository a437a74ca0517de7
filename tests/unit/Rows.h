// Record lists as rows of four fields, and files in fresh directories.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "records/DataFile.h"

using Rows = std::vector<std::vector<std::string>>;

inline Rows RowsOf(const RecordList& list)
{
    Rows rows;
    for (int i = 0; i < list.m_nCount; ++i)
        rows.push_back({std::string(list.m_arrDay[i]), std::string(list.m_arrMonth[i]), std::string(list.m_arrYear[i]),
                        std::string(list.m_arrName[i])});
    return rows;
}

inline RecordList ListOf(const Rows& rows)
{
    RecordList list;
    for (const auto& r : rows)
        list.m_arrDay.Add(r[0]), list.m_arrMonth.Add(r[1]), list.m_arrYear.Add(r[2]), list.m_arrName.Add(r[3]);
    list.m_nCount = static_cast<int>(rows.size());
    return list;
}

// The records of a file's bytes appended to list.
inline RecordList Parse(const std::string& bytes, RecordList list = {})
{
    list.m_nCount += AppendRecords(list, std::make_shared<const std::string>(bytes));
    return list;
}

struct TempDir {
    std::string path = (std::filesystem::temp_directory_path() / "tolvari_test.XXXXXX").string();
    TempDir() { ::mkdtemp(&path[0]); }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return path + "/" + name; }
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}
