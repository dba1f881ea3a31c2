#include "platform/win32/Win32Registry.h"

#include <cstddef>

#include "platform/win32/Handles.h"
// After windows.h, which the handles bring.
#include <winternl.h>

// ntdll's key query, documented for drivers as ZwQueryKey; the user-mode headers leave it out.
// It is the one call that tells a key's name as stored.
extern "C" NTSTATUS NTAPI NtQueryKey(HANDLE key, int informationClass, void* information,
                                     ULONG length, ULONG* resultLength);

namespace norvane::win32 {
namespace {

using platform::RegValue;
using platform::RootKey;
using platform::WinError;

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser:
            return HKEY_CURRENT_USER;
        case RootKey::LocalMachine:
            break;
    }
    return HKEY_LOCAL_MACHINE;
}

// The program is 64-bit aware: it always sees the 64-bit view, whatever the process's bitness.
WinError Open(RootKey root, const std::wstring& path, REGSAM access, UniqueKey& key) {
    return static_cast<WinError>(
        RegOpenKeyExW(RootHandle(root), path.c_str(), 0, access | KEY_WOW64_64KEY, key.Put()));
}

// KEY_BASIC_INFORMATION, the class NtQueryKey numbers 0, followed by the name's characters.
struct KeyBasicInformation {
    LARGE_INTEGER lastWriteTime;
    ULONG titleIndex;
    ULONG nameLength;  // in bytes
    WCHAR name[1];
};
constexpr int kKeyBasicInformation = 0;

// A value as the seam holds it: its type and the bytes the call reported.
RegValue ValueOf(DWORD type, std::vector<std::uint8_t> data, DWORD size) {
    data.resize(size);
    return RegValue{static_cast<platform::RegType>(type), std::move(data)};
}

}  // namespace

WinError Win32Registry::OpenKey(RootKey root, const std::wstring& path,
                                platform::RegAccess access) {
    UniqueKey key;
    return Open(root, path, access == platform::RegAccess::Read ? KEY_READ : KEY_ALL_ACCESS, key);
}

WinError Win32Registry::CreateKey(RootKey root, const std::wstring& path, bool* created) {
    UniqueKey key;
    DWORD disposition = 0;
    const LSTATUS status =
        RegCreateKeyExW(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.Put(), &disposition);
    if (status == ERROR_SUCCESS && created)
        *created = disposition == REG_CREATED_NEW_KEY;
    return static_cast<WinError>(status);
}

WinError Win32Registry::DeleteKey(RootKey root, const std::wstring& path) {
    return static_cast<WinError>(
        RegDeleteKeyExW(RootHandle(root), path.c_str(), KEY_WOW64_64KEY, 0));
}

WinError Win32Registry::EnumKey(RootKey root, const std::wstring& path, std::uint32_t index,
                                std::wstring& name) {
    UniqueKey key;
    if (const WinError error = Open(root, path, KEY_ENUMERATE_SUB_KEYS, key))
        return error;
    wchar_t buffer[256];  // a key name holds at most 255 characters
    DWORD length = ARRAYSIZE(buffer);
    const LSTATUS status =
        RegEnumKeyExW(key.Get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS)
        name.assign(buffer, length);
    return static_cast<WinError>(status);
}

WinError Win32Registry::KeyName(RootKey root, const std::wstring& path, std::wstring& name) {
    UniqueKey key;
    if (const WinError error = Open(root, path, KEY_QUERY_VALUE, key))
        return error;
    // Room for the longest name, 255 characters.
    alignas(KeyBasicInformation) std::byte buffer[offsetof(KeyBasicInformation, name) + 256 * 2];
    ULONG length = 0;
    const NTSTATUS status =
        NtQueryKey(key.Get(), kKeyBasicInformation, buffer, sizeof buffer, &length);
    if (status < 0)
        return static_cast<WinError>(RtlNtStatusToDosError(status));
    const auto* information = reinterpret_cast<const KeyBasicInformation*>(buffer);
    name.assign(information->name, information->nameLength / sizeof(WCHAR));
    return platform::win::kSuccess;
}

WinError Win32Registry::QueryValue(RootKey root, const std::wstring& path, const std::wstring& name,
                                   std::uint32_t maxBytes, RegValue& value) {
    UniqueKey key;
    if (const WinError error = Open(root, path, KEY_QUERY_VALUE, key))
        return error;
    // The buffer is never null, even for a size of 0: a null buffer would be a size query, which
    // succeeds where the program's fixed buffer gets ERROR_MORE_DATA.
    std::vector<std::uint8_t> data(maxBytes > 0 ? maxBytes : 1);
    DWORD type = REG_NONE;
    DWORD size = maxBytes;
    const LSTATUS status =
        RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, data.data(), &size);
    if (status == ERROR_SUCCESS)
        value = ValueOf(type, std::move(data), size);
    else if (status == ERROR_MORE_DATA)
        value = ValueOf(type, {}, 0);  // the type arrives, the data does not
    return static_cast<WinError>(status);
}

WinError Win32Registry::QueryValueSize(RootKey root, const std::wstring& path,
                                       const std::wstring& name, std::uint32_t& bytes) {
    UniqueKey key;
    if (const WinError error = Open(root, path, KEY_QUERY_VALUE, key))
        return error;
    DWORD size = 0;
    const LSTATUS status =
        RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, &size);
    if (status == ERROR_SUCCESS)
        bytes = size;
    return static_cast<WinError>(status);
}

WinError Win32Registry::SetValue(RootKey root, const std::wstring& path, const std::wstring& name,
                                 const RegValue& value) {
    UniqueKey key;
    if (const WinError error = Open(root, path, KEY_SET_VALUE, key))
        return error;
    return static_cast<WinError>(RegSetValueExW(key.Get(), name.c_str(), 0,
                                                static_cast<DWORD>(value.type), value.data.data(),
                                                static_cast<DWORD>(value.data.size())));
}

WinError Win32Registry::DeleteValue(RootKey root, const std::wstring& path,
                                    const std::wstring& name) {
    UniqueKey key;
    if (const WinError error = Open(root, path, KEY_SET_VALUE, key))
        return error;
    return static_cast<WinError>(RegDeleteValueW(key.Get(), name.c_str()));
}

WinError Win32Registry::EnumValue(RootKey root, const std::wstring& path, std::uint32_t index,
                                  std::wstring& name, RegValue& value) {
    UniqueKey key;
    if (const WinError error = Open(root, path, KEY_QUERY_VALUE, key))
        return error;
    DWORD maxNameLength = 0;
    DWORD maxDataSize = 0;
    if (const LSTATUS status =
            RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &maxNameLength, &maxDataSize, nullptr, nullptr)) {
        return static_cast<WinError>(status);
    }
    std::vector<wchar_t> nameBuffer(maxNameLength + 1);
    std::vector<std::uint8_t> data(maxDataSize > 0 ? maxDataSize : 1);
    DWORD nameLength = maxNameLength + 1;
    DWORD type = REG_NONE;
    DWORD size = maxDataSize;
    const LSTATUS status = RegEnumValueW(key.Get(), index, nameBuffer.data(), &nameLength, nullptr,
                                         &type, data.data(), &size);
    if (status == ERROR_SUCCESS) {
        name.assign(nameBuffer.data(), nameLength);
        value = ValueOf(type, std::move(data), size);
    }
    return static_cast<WinError>(status);
}

}  // namespace norvane::win32
