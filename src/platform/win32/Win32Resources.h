// The Resources service: language libraries loaded with LoadLibraryW, strings with LoadStringW.
#pragma once

#include "platform/Resources.h"

namespace norvane::win32 {

class Win32Resources final : public platform::Resources {
public:
    platform::WinError LoadLibrary(const std::wstring& path,
                                   std::unique_ptr<platform::ResourceLibrary>& library) override;
};

}  // namespace norvane::win32
