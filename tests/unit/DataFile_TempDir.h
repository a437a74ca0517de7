// Fresh temporary directories and small file utilities for the file tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
// The file tests rely on these POSIX headers coming with this one.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

class TempDir {
public:
    TempDir() : m_path(std::string(Base()) + "/tolvari_test.XXXXXX")
    {
        if (::mkdtemp(&m_path[0]) == nullptr)
            ADD_FAILURE() << "mkdtemp failed";
    }
    ~TempDir() { std::error_code ignored; std::filesystem::remove_all(m_path, ignored); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    static const char* Base()
    {
        const char* base = std::getenv("TMPDIR");
        return base && *base ? base : "/tmp";
    }
    std::string m_path;
};

// Runs a scope with the current directory changed, as the program opens its
// files by bare name.
class ChangeDir {
public:
    explicit ChangeDir(const std::string& dir) : m_old(std::filesystem::current_path())
    {
        if (::chdir(dir.c_str()) != 0)
            ADD_FAILURE() << "chdir failed";
    }
    ~ChangeDir()
    {
        if (::chdir(m_old.c_str()) != 0)
            ADD_FAILURE() << "chdir back failed";
    }

private:
    std::filesystem::path m_old;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Number of directory entries, or -1 when dir is no directory.
inline int CountEntries(const std::string& dir)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(dir, error);
    return error ? -1 : static_cast<int>(std::distance(entries, std::filesystem::directory_iterator()));
}
