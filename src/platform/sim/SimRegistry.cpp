#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <cstdio>

namespace norvane::sim {
namespace {

namespace win = platform::win;
using platform::RegType;
using platform::RegValue;
using platform::RootKey;
using platform::WinError;

std::wstring FullPath(RootKey root, const std::wstring& path) {
    const std::wstring rootName = RegistryStore::RootName(root);
    return path.empty() ? rootName : rootName + L"\\" + path;
}

// The key a call names, or null with the error Windows gives: a refused path, or a missing key.
// Reads go through the store's const lookup, which leaves its generation as it is.
const RegKey* Lookup(const RegistryStore& store, const std::wstring& fullPath, WinError& error) {
    error = RegistryStore::CheckPath(fullPath);
    if (error != win::kSuccess)
        return nullptr;
    const RegKey* key = store.Find(fullPath);
    if (!key)
        error = win::kFileNotFound;
    return key;
}

std::wstring TypeName(RegType type) {
    switch (type) {
        case RegType::None:
            return L"REG_NONE";
        case RegType::Sz:
            return L"REG_SZ";
        case RegType::ExpandSz:
            return L"REG_EXPAND_SZ";
        case RegType::Binary:
            return L"REG_BINARY";
        case RegType::Dword:
            return L"REG_DWORD";
        case RegType::MultiSz:
            return L"REG_MULTI_SZ";
    }
    return L"type " + text::Decimal(static_cast<long long>(type));
}

// The type and data of a value for a journal line: texts quoted, a DWORD in hex, and only the
// size of binary data, which would not be readable.
std::wstring Describe(const RegValue& value) {
    std::wstring out = TypeName(value.type);
    switch (value.type) {
        case RegType::Sz:
        case RegType::ExpandSz:
            return out + L" " + Quoted(value.AsString());
        case RegType::MultiSz:
            for (const auto& item : value.AsMultiString())
                out += L" " + Quoted(item);
            return out;
        case RegType::Dword:
            if (value.data.size() == 4) {
                wchar_t hex[16];
                std::swprintf(hex, 16, L" 0x%02x%02x%02x%02x", value.data[3], value.data[2],
                              value.data[1], value.data[0]);
                return out + hex;
            }
            break;
        default:
            break;
    }
    return out + L" (" + text::Decimal(static_cast<long long>(value.data.size())) + L" bytes)";
}

}  // namespace

bool SimRegistry::IsReadOnly(const RegKey* key) const {
    return std::any_of(m_readOnlyKeys.begin(), m_readOnlyKeys.end(),
                       [&](const std::wstring& path) { return m_store.Find(path) == key; });
}

RegKey* SimRegistry::LookupToChange(const std::wstring& fullPath, WinError& error) {
    const RegKey* key = Lookup(m_store, fullPath, error);
    if (!key)
        return nullptr;
    if (IsReadOnly(key)) {
        error = win::kAccessDenied;
        return nullptr;
    }
    return m_store.Find(fullPath);
}

WinError SimRegistry::OpenKey(RootKey root, const std::wstring& path, platform::RegAccess access) {
    WinError error;
    const RegKey* key = Lookup(m_store, FullPath(root, path), error);
    if (key && access == platform::RegAccess::AllAccess && IsReadOnly(key))
        return win::kAccessDenied;
    return error;
}

WinError SimRegistry::CreateKey(RootKey root, const std::wstring& path, bool* created) {
    const std::wstring full = FullPath(root, path);
    // RegCreateKeyExW opens an existing key for writing, and makes a new one through its
    // nearest existing parent: either way a read-only key refuses.
    for (std::wstring at = full; RegistryStore::CheckPath(at) == win::kSuccess;) {
        if (const RegKey* existing = m_store.Find(at)) {
            if (IsReadOnly(existing))
                return win::kAccessDenied;
            break;
        }
        const auto slash = at.rfind(L'\\');
        if (slash == std::wstring::npos)
            break;
        at.resize(slash);
    }
    bool made = false;
    if (!m_store.Create(full, &made))
        return Refused(L"RegCreateKey " + full, RegistryStore::CheckPath(full));
    if (made)
        m_journal.RecordChange(L"RegCreateKey " + full);
    if (created)
        *created = made;
    return win::kSuccess;
}

WinError SimRegistry::Refused(const std::wstring& call, WinError error) {
    if (error)
        m_journal.Record(call + L" -> " + text::Decimal(error));
    return error;
}

WinError SimRegistry::DeleteKey(RootKey root, const std::wstring& path) {
    const std::wstring full = FullPath(root, path);
    if (const RegKey* key = m_store.Find(full); key && IsReadOnly(key))
        return Refused(L"RegDeleteKey " + full, win::kAccessDenied);
    const WinError error = m_store.Delete(full);
    if (error == win::kSuccess)
        m_journal.RecordChange(L"RegDeleteKey " + full);
    return Refused(L"RegDeleteKey " + full, error);
}

WinError SimRegistry::EnumKey(RootKey root, const std::wstring& path, std::uint32_t index,
                              std::wstring& name) {
    WinError error;
    const RegKey* key = Lookup(m_store, FullPath(root, path), error);
    if (!key)
        return error;
    if (m_enumOrder.key != key || m_enumOrder.generation != m_store.Generation())
        m_enumOrder = {key, m_store.Generation(), key->SubkeysInEnumOrder()};
    const auto& subkeys = m_enumOrder.subkeys;
    if (index >= subkeys.size())
        return win::kNoMoreItems;
    name = subkeys[index]->name;
    return win::kSuccess;
}

WinError SimRegistry::KeyName(RootKey root, const std::wstring& path, std::wstring& name) {
    WinError error;
    const RegKey* key = Lookup(m_store, FullPath(root, path), error);
    if (!key)
        return error;
    name = key->name;
    return win::kSuccess;
}

WinError SimRegistry::QueryValue(RootKey root, const std::wstring& path, const std::wstring& name,
                                 std::uint32_t maxBytes, RegValue& value) {
    WinError error;
    const RegKey* key = Lookup(m_store, FullPath(root, path), error);
    if (!key)
        return error;
    // Windows programs allocate the buffer they pass: one beyond the 64 MiB that this whole
    // program may use is a request for the wrong size, and fails as its allocation would, with
    // ERROR_NOT_ENOUGH_MEMORY, whatever the value holds.
    constexpr std::uint32_t kLargestBuffer = 64u << 20;
    if (maxBytes > kLargestBuffer)
        return win::kNotEnoughMemory;
    const RegValue* found = key->FindValue(name);
    if (!found)
        return win::kFileNotFound;
    if (found->data.size() > maxBytes) {
        // Windows still reports the type when the buffer is too small; the data does not arrive.
        value = {found->type, {}};
        return win::kMoreData;
    }
    value = *found;
    return win::kSuccess;
}

WinError SimRegistry::QueryValueSize(RootKey root, const std::wstring& path,
                                     const std::wstring& name, std::uint32_t& bytes) {
    WinError error;
    const RegKey* key = Lookup(m_store, FullPath(root, path), error);
    if (!key)
        return error;
    const RegValue* found = key->FindValue(name);
    if (!found)
        return win::kFileNotFound;
    bytes = static_cast<std::uint32_t>(found->data.size());
    return win::kSuccess;
}

WinError SimRegistry::SetValue(RootKey root, const std::wstring& path, const std::wstring& name,
                               const RegValue& value) {
    const std::wstring full = FullPath(root, path);
    WinError error;
    RegKey* key = LookupToChange(full, error);
    if (!key)
        return Refused(L"RegSetValue " + full + L" " + Quoted(name), error);
    key->SetValue(name, value);
    m_journal.RecordChange(L"RegSetValue " + full + L" " + Quoted(name) + L" " + Describe(value));
    return win::kSuccess;
}

WinError SimRegistry::DeleteValue(RootKey root, const std::wstring& path,
                                  const std::wstring& name) {
    const std::wstring full = FullPath(root, path);
    WinError error;
    RegKey* key = LookupToChange(full, error);
    if (!key)
        return Refused(L"RegDeleteValue " + full + L" " + Quoted(name), error);
    if (!key->DeleteValue(name))
        return Refused(L"RegDeleteValue " + full + L" " + Quoted(name), win::kFileNotFound);
    m_journal.RecordChange(L"RegDeleteValue " + full + L" " + Quoted(name));
    return win::kSuccess;
}

WinError SimRegistry::EnumValue(RootKey root, const std::wstring& path, std::uint32_t index,
                                std::wstring& name, RegValue& value) {
    WinError error;
    const RegKey* key = Lookup(m_store, FullPath(root, path), error);
    if (!key)
        return error;
    if (index >= key->values.size())
        return win::kNoMoreItems;
    name = key->values[index].first;
    value = key->values[index].second;
    return win::kSuccess;
}

}  // namespace norvane::sim
