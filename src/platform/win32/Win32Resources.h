// The Resources service: language libraries loaded with LoadLibraryW, strings with LoadStringW.
// The dialogs' templates and icon come from the library loaded last, while it is loaded.
#pragma once

#include "platform/Resources.h"
#include "platform/win32/WinApi.h"

namespace norvane::win32 {

class Win32Resources final : public platform::Resources {
public:
    platform::WinError LoadLibrary(const std::wstring& path,
                                   std::unique_ptr<platform::ResourceLibrary>& library) override;
    // Null when no library is loaded.
    HMODULE LanguageModule() const { return m_language; }

private:
    friend class ModuleLibrary;
    HMODULE m_language = nullptr;
};

}  // namespace norvane::win32
