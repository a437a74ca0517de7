// The bytes of one input, piece by piece, so that no input is held whole.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; 0 at the end or after an error.
    virtual size_t Read(char* buffer, size_t size) = 0;
    virtual bool Failed() const { return false; }
};

// A text in memory, handed out at most piece bytes at a time.
class TextSource : public ByteSource {
public:
    explicit TextSource(std::string_view text, size_t piece = 65536) : m_text(text), m_piece(piece) {}
    size_t Read(char* buffer, size_t size) override;

private:
    std::string_view m_text;
    size_t m_piece;
};

// A file opened by name (records/FileSystem.h).
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool IsOpen() const { return m_file != nullptr; }
    size_t Read(char* buffer, size_t size) override;
    bool Failed() const override { return m_failed; }

private:
    std::FILE* m_file;
    bool m_failed = false;
};
