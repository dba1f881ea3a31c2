// The registry, addressed by root and path as Reg*KeyExW addresses it. Each call opens what it
// needs and closes it again, so no key handle crosses the seam.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinError.h"

namespace norvane::platform {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine };

enum class RegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    MultiSz = 7,
};

// A value as Windows stores it: its type and its bytes (strings as UTF-16LE with their
// terminating null, as RegSetValueExW is given them).
struct RegValue {
    RegType type = RegType::None;
    std::vector<std::uint8_t> data;

    static RegValue String(const std::wstring& text, RegType type = RegType::Sz);
    static RegValue MultiString(const std::vector<std::wstring>& items);
    static RegValue Dword(std::uint32_t value);
    // The text of a REG_SZ or REG_EXPAND_SZ value, up to its first null.
    std::wstring AsString() const;
    // The strings of a REG_MULTI_SZ value, up to the empty one that ends it.
    std::vector<std::wstring> AsMultiString() const;
};

enum class RegAccess { Read, AllAccess };

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExW: whether the key exists and may be opened with that access.
    [[nodiscard]] virtual WinError OpenKey(RootKey root, const std::wstring& path,
                                           RegAccess access) = 0;
    // RegCreateKeyExW: opens the key, creating it and any missing parent; `created` tells which.
    [[nodiscard]] virtual WinError CreateKey(RootKey root, const std::wstring& path,
                                             bool* created) = 0;
    // RegDeleteKeyW: a key that still has subkeys is refused with ERROR_ACCESS_DENIED.
    [[nodiscard]] virtual WinError DeleteKey(RootKey root, const std::wstring& path) = 0;
    // RegEnumKeyExW: the name of the index-th subkey; ERROR_NO_MORE_ITEMS past the last one.
    [[nodiscard]] virtual WinError EnumKey(RootKey root, const std::wstring& path,
                                           std::uint32_t index, std::wstring& name) = 0;
    // The key's own name as the registry stores it: the spelling it was created with, whatever
    // case `path` gives it (NtQueryKey, KeyBasicInformation). One call, where finding the name
    // among the parent's subkeys would read every sibling.
    [[nodiscard]] virtual WinError KeyName(RootKey root, const std::wstring& path,
                                           std::wstring& name) = 0;
    // RegQueryValueExW with a buffer of `maxBytes`: a larger value gives ERROR_MORE_DATA.
    // An empty name is the key's default value.
    [[nodiscard]] virtual WinError QueryValue(RootKey root, const std::wstring& path,
                                              const std::wstring& name, std::uint32_t maxBytes,
                                              RegValue& value) = 0;
    // RegQueryValueExW without a buffer: the size of the value's data in bytes.
    [[nodiscard]] virtual WinError QueryValueSize(RootKey root, const std::wstring& path,
                                                  const std::wstring& name,
                                                  std::uint32_t& bytes) = 0;
    // A value whose size is not known beforehand, read as Windows programs read one: ask for its
    // size, read it with a buffer of that size, and ask again when it grew in between. No buffer
    // is ever larger than the value.
    [[nodiscard]] WinError QueryValueOfAnySize(RootKey root, const std::wstring& path,
                                               const std::wstring& name, RegValue& value);
    [[nodiscard]] virtual WinError SetValue(RootKey root, const std::wstring& path,
                                            const std::wstring& name, const RegValue& value) = 0;
    [[nodiscard]] virtual WinError DeleteValue(RootKey root, const std::wstring& path,
                                               const std::wstring& name) = 0;
    // RegEnumValueW: the name and data of the index-th value.
    [[nodiscard]] virtual WinError EnumValue(RootKey root, const std::wstring& path,
                                             std::uint32_t index, std::wstring& name,
                                             RegValue& value) = 0;
};

// The subkey `name` of a key as its name is stored (Registry::KeyName); nullopt when there is
// none. A name is one key's name: an empty one or one with a backslash names no subkey.
std::optional<std::wstring> FindSubkey(Registry& registry, RootKey root, const std::wstring& path,
                                       const std::wstring& name);

}  // namespace norvane::platform
