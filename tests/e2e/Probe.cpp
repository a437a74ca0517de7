#include "Probe.h"

#include "probe/ProbeProtocol.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace e2e {

namespace {

constexpr wchar_t kReplyClass[] = L"TolvariProbeReply";

std::wstring ProbeDllPath()
{
    wchar_t exe[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    const size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path + probe::kDllName;
}

HWND ToHandle(uint32_t value)
{
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

}  // namespace

Probe::Probe(const App& app) : Probe(app.Main()) {}

Probe::Probe(HWND anyWindow) : m_target(anyWindow)
{
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Probe::ReplyProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kReplyClass;
        return ::RegisterClassW(&wc) != 0;
    }();
    const DWORD thread = anyWindow ? ::GetWindowThreadProcessId(anyWindow, nullptr) : 0;
    m_dll = ::LoadLibraryW(ProbeDllPath().c_str());
    auto* hookProc = m_dll ? reinterpret_cast<HOOKPROC>(
                                 reinterpret_cast<void*>(::GetProcAddress(m_dll, probe::kHookProc)))
                           : nullptr;
    if (registered)
        m_replyWindow = ::CreateWindowExW(0, kReplyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    if (m_replyWindow)
        ::SetWindowLongPtrW(m_replyWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (thread && hookProc && m_replyWindow)
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, hookProc, m_dll, thread);
    EXPECT_TRUE(m_hook) << "probe not attached (" << (m_dll ? "hook" : "tolvari_probe.dll")
                        << " failed, error " << ::GetLastError() << ")";
}

Probe::~Probe()
{
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
    if (m_replyWindow)
        ::DestroyWindow(m_replyWindow);
    if (m_dll)
        ::FreeLibrary(m_dll);
}

LRESULT CALLBACK Probe::ReplyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        auto* self = reinterpret_cast<Probe*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (self && data && data->dwData == probe::kMagic && data->lpData) {
            const char* bytes = static_cast<const char*>(data->lpData);
            self->m_reply.assign(bytes, bytes + data->cbData);
            return TRUE;
        }
        return FALSE;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Probe::Ask(HWND target, uint32_t query, std::vector<char>& items, uint32_t& count)
{
    items.clear();
    count = 0;
    if (!m_hook || !target)
        return false;
    static const UINT queryMessage = ::RegisterWindowMessageW(probe::kQueryMessage);
    const uint32_t sequence = ++m_sequence & 0xFFFFFF;
    m_reply.clear();
    // Not SMTO_BLOCK: the reply is a message sent to this thread while it waits.
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(target, queryMessage, reinterpret_cast<WPARAM>(m_replyWindow),
                          static_cast<LPARAM>((sequence << 8) | query), SMTO_ABORTIFHUNG, kWaitMs,
                          &result);
    probe::ReplyHeader header = {};
    if (m_reply.size() < sizeof(header)) {
        ADD_FAILURE() << "probe: no answer to query " << query;
        return false;
    }
    std::memcpy(&header, m_reply.data(), sizeof(header));
    if (header.query != query || header.sequence != sequence) {
        ADD_FAILURE() << "probe: answer to another query";
        return false;
    }
    items.assign(m_reply.begin() + sizeof(header), m_reply.end());
    count = header.count;
    return true;
}

template <class Item>
std::vector<Item> Probe::AskItems(HWND target, uint32_t query)
{
    std::vector<char> bytes;
    uint32_t count = 0;
    std::vector<Item> items;
    if (!Ask(target, query, bytes, count) || bytes.size() != count * sizeof(Item)) {
        if (!bytes.empty())
            ADD_FAILURE() << "probe: answer of the wrong size";
        return items;
    }
    items.resize(count);
    if (count)
        std::memcpy(items.data(), bytes.data(), bytes.size());
    return items;
}

std::optional<LOGFONTW> Probe::Font(HWND window)
{
    const auto items = AskItems<probe::FontItem>(window, probe::kFont);
    if (items.size() != 1 || !items[0].hasFont)
        return std::nullopt;
    return items[0].font;
}

int Probe::Focus()
{
    const auto items = AskItems<probe::WindowItem>(m_target, probe::kFocus);
    return items.size() == 1 ? items[0].id : 0;
}

HWND Probe::FocusWindow()
{
    const auto items = AskItems<probe::WindowItem>(m_target, probe::kFocus);
    return items.size() == 1 ? ToHandle(items[0].hwnd) : nullptr;
}

std::vector<MenuItem> Probe::SystemMenu(HWND window)
{
    std::vector<MenuItem> menu;
    for (const auto& item : AskItems<probe::MenuItem>(window, probe::kSystemMenu))
        menu.push_back(MenuItem{item.id, (item.type & MFT_SEPARATOR) != 0, item.state, item.text});
    return menu;
}

std::vector<Tool> Probe::ToolTips(HWND dialog)
{
    std::vector<Tool> tools;
    for (const auto& item : AskItems<probe::ToolItem>(dialog, probe::kToolTips)) {
        const HWND window = (item.flags & TTF_IDISHWND) ? ToHandle(item.uId) : nullptr;
        tools.push_back(Tool{ToHandle(item.tooltip), window, ToHandle(item.hwnd), item.flags, item.text});
    }
    return tools;
}

ThreadState Probe::State(HWND window)
{
    const auto items = AskItems<probe::StateItem>(window, probe::kState);
    if (items.size() != 1)
        return ThreadState{};
    const probe::StateItem& s = items[0];
    return ThreadState{ToHandle(s.active), ToHandle(s.focus), ToHandle(s.capture), s.enabled != 0,
                       s.visible != 0};
}

WindowIcons Probe::Icons(HWND window)
{
    const auto items = AskItems<probe::IconsItem>(window, probe::kIcons);
    if (items.size() != 1)
        return WindowIcons{};
    auto icon = [](uint32_t value) { return reinterpret_cast<HICON>(static_cast<UINT_PTR>(value)); };
    return WindowIcons{icon(items[0].bigIcon), icon(items[0].smallIcon), icon(items[0].dragIcon),
                       SIZE{items[0].width, items[0].height}};
}

int Probe::MessageBoxIcon(HWND box)
{
    const auto items = AskItems<probe::ValueItem>(box, probe::kMessageBoxIcon);
    return items.size() == 1 ? items[0].value : 0;
}

std::wstring Probe::CommonControlsPath()
{
    const auto items = AskItems<probe::TextItem>(m_target, probe::kCommonControls);
    return items.size() == 1 ? std::wstring(items[0].text) : std::wstring();
}

}  // namespace e2e
