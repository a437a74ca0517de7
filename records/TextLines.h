// Splitting 8-bit text into lines the way the program's files are written.
#pragma once

#include <cstring>
#include <string_view>

// The line that starts at p, without its line end. A line ends at LF; a CR
// directly before the LF is part of the line end, any other CR is an ordinary
// byte. A last line without LF ends at end; NUL bytes are ordinary bytes.
inline std::string_view LineAt(const char* p, const char* end)
{
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* stop = lf ? lf : end;
    if (lf && stop > p && stop[-1] == '\r')
        --stop;
    return std::string_view(p, static_cast<size_t>(stop - p));
}

// Calls onLine(line, offset) for each line of text (LineAt), offset being
// where the line starts in text.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const std::string_view line = LineAt(p, end);
        onLine(line, static_cast<size_t>(p - begin));
        const char* lineEnd = p + line.size();
        if (lineEnd < end && *lineEnd == '\r')
            ++lineEnd;
        if (lineEnd >= end)
            break;
        p = lineEnd + 1;
    }
}
