// The Registry service over the Reg* functions. Every call opens its key in the 64-bit view and
// closes it again; the 32-bit view is reached through "SOFTWARE\Wow6432Node" by path.
#pragma once

#include "platform/Registry.h"

namespace norvane::win32 {

class Win32Registry final : public platform::Registry {
public:
    platform::WinError OpenKey(platform::RootKey root, const std::wstring& path,
                               platform::RegAccess access) override;
    platform::WinError CreateKey(platform::RootKey root, const std::wstring& path,
                                 bool* created) override;
    platform::WinError DeleteKey(platform::RootKey root, const std::wstring& path) override;
    platform::WinError EnumKey(platform::RootKey root, const std::wstring& path,
                               std::uint32_t index, std::wstring& name) override;
    platform::WinError KeyName(platform::RootKey root, const std::wstring& path,
                               std::wstring& name) override;
    platform::WinError QueryValue(platform::RootKey root, const std::wstring& path,
                                  const std::wstring& name, std::uint32_t maxBytes,
                                  platform::RegValue& value) override;
    platform::WinError QueryValueSize(platform::RootKey root, const std::wstring& path,
                                      const std::wstring& name, std::uint32_t& bytes) override;
    platform::WinError SetValue(platform::RootKey root, const std::wstring& path,
                                const std::wstring& name, const platform::RegValue& value) override;
    platform::WinError DeleteValue(platform::RootKey root, const std::wstring& path,
                                   const std::wstring& name) override;
    platform::WinError EnumValue(platform::RootKey root, const std::wstring& path,
                                 std::uint32_t index, std::wstring& name,
                                 platform::RegValue& value) override;
};

}  // namespace norvane::win32
