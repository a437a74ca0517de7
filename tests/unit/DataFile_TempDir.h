// Fresh temporary directories and small file utilities for the file tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

class TempDir {
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tolvari_test.XXXXXX";
        if (::mkdtemp(&tmpl[0]) == nullptr)
            ADD_FAILURE() << "mkdtemp failed";
        m_path = tmpl;
    }
    ~TempDir()
    {
        ::nftw(m_path.c_str(),
               [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); },
               16, FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Runs a scope with the current directory changed, as the program opens its
// files by bare name.
class ChangeDir {
public:
    explicit ChangeDir(const std::string& dir)
    {
        char buf[4096];
        if (::getcwd(buf, sizeof buf))
            m_old = buf;
        if (::chdir(dir.c_str()) != 0)
            ADD_FAILURE() << "chdir failed";
    }
    ~ChangeDir()
    {
        if (!m_old.empty() && ::chdir(m_old.c_str()) != 0)
            ADD_FAILURE() << "chdir back failed";
    }

private:
    std::string m_old;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Number of directory entries besides "." and "..".
inline int CountEntries(const std::string& dir)
{
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return -1;
    int n = 0;
    while (const dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name != "." && name != "..")
            ++n;
    }
    ::closedir(d);
    return n;
}
