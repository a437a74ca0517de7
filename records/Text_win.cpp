#include "records/Text.h"

#include <windows.h>

namespace tolvari {

namespace {
constexpr UINT kCodePage = 1250;
}

std::wstring Widen(std::string_view cp1250)
{
    if (cp1250.empty())
        return std::wstring();
    const int size = static_cast<int>(cp1250.size());
    const int n = MultiByteToWideChar(kCodePage, 0, cp1250.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kCodePage, 0, cp1250.data(), size, &wide[0], n);
    return wide;
}

std::string Narrow(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    // Without WC_NO_BEST_FIT_CHARS the code page's best-fit table would turn
    // "\u00F8" into "o" and "\u00F1" into "n": a different name, silently.
    const int size = static_cast<int>(text.size());
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int n = WideCharToMultiByte(kCodePage, flags, text.data(), size, nullptr, 0, "?", nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, flags, text.data(), size, &narrow[0], n, "?", nullptr);
    return narrow;
}

}  // namespace tolvari
