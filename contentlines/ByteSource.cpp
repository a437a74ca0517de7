#include "contentlines/ByteSource.h"

#include <algorithm>

#include "records/FileSystem.h"

size_t TextSource::Read(char* buffer, size_t size)
{
    const size_t n = std::min({size, m_piece, m_text.size()});
    std::copy(m_text.data(), m_text.data() + n, buffer);
    m_text.remove_prefix(n);
    return n;
}

FileSource::FileSource(const std::string& path) : m_file(filesys::OpenToRead(path)) {}

FileSource::~FileSource()
{
    if (m_file)
        std::fclose(m_file);
}

size_t FileSource::Read(char* buffer, size_t size)
{
    if (!m_file || m_failed)
        return 0;
    const size_t n = std::fread(buffer, 1, size, m_file);
    if (n == 0 && std::ferror(m_file))
        m_failed = true;
    return n;
}
