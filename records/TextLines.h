// Splitting 8-bit text into lines the way the program's files are written.
#pragma once

#include <cstring>
#include <string_view>

// Calls onLine(line, offset) for each line of text, offset being where the
// line starts in text. A line ends at LF; a CR directly before the LF is part
// of the line end, any other CR is an ordinary byte. A last line without LF
// counts too, and NUL bytes are ordinary bytes.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* lineEnd = stop;
        if (lf && lineEnd > p && lineEnd[-1] == '\r')
            --lineEnd;
        onLine(std::string_view(p, static_cast<size_t>(lineEnd - p)), static_cast<size_t>(p - begin));
        if (!lf)
            break;
        p = lf + 1;
    }
}
