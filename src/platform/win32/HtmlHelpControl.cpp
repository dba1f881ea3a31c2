#include "platform/win32/HtmlHelpControl.h"

#include <vector>

#include "platform/win32/Handles.h"

namespace norvane::win32 {
namespace {

using HtmlHelpW = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
constexpr WORD kHtmlHelpWOrdinal = 15;
constexpr UINT kHelpContext = 0x000F;  // HH_HELP_CONTEXT
constexpr UINT kCloseAll = 0x0012;     // HH_CLOSE_ALL

// The loaded control. Before the library goes, its windows are closed, as the control asks of a
// program that unloads it.
class Control {
public:
    Control() {
        const std::wstring registered = RegisteredHtmlHelpServer();
        if (!registered.empty())
            m_module.Reset(LoadLibraryW(registered.c_str()));
        if (!m_module)
            m_module.Reset(LoadLibraryW(L"hhctrl.ocx"));
        if (m_module) {
            m_entry = reinterpret_cast<HtmlHelpW>(reinterpret_cast<void*>(
                GetProcAddress(m_module.Get(), MAKEINTRESOURCEA(kHtmlHelpWOrdinal))));
        }
    }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control() {
        if (m_entry)
            m_entry(nullptr, nullptr, kCloseAll, 0);
    }

    HtmlHelpW Entry() const { return m_entry; }

private:
    UniqueModule m_module;
    HtmlHelpW m_entry = nullptr;
};

}  // namespace

std::wstring RegisteredHtmlHelpServer() {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, KEY_QUERY_VALUE, key.Put()) !=
        ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    const std::wstring path(value.data());  // up to the first null, whether or not one was stored
    if (type != REG_EXPAND_SZ || path.empty())
        return path;
    const DWORD length = ExpandEnvironmentStringsW(path.c_str(), nullptr, 0);
    std::wstring expanded(length, L'\0');
    if (length == 0 || ExpandEnvironmentStringsW(path.c_str(), expanded.data(), length) != length)
        return path;
    expanded.resize(length - 1);
    return expanded;
}

HWND HtmlHelpContext(const std::wstring& path, std::uint32_t context) {
    static const Control control;
    if (!control.Entry())
        return nullptr;
    return control.Entry()(nullptr, path.c_str(), kHelpContext, context);
}

}  // namespace norvane::win32
