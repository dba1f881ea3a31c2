#include "platform/win32/HtmlHelpControl.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32SystemInfo.h"

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
        // Windows' own copy by its full path, its dependencies from System32 too. The class
        // registration is no guide: an elevated process sees the user's own classes merged into
        // HKEY_CLASSES_ROOT, and a bare name is searched for in folders anybody may write to.
        const std::wstring system = SystemFolder();
        if (system.empty())
            return;
        m_module.Reset(LoadLibraryExW((system + L"\\hhctrl.ocx").c_str(), nullptr,
                                      LOAD_LIBRARY_SEARCH_SYSTEM32));
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

HWND HtmlHelpContext(const std::wstring& path, std::uint32_t context) {
    static const Control control;
    if (!control.Entry())
        return nullptr;
    return control.Entry()(nullptr, path.c_str(), kHelpContext, context);
}

}  // namespace norvane::win32
