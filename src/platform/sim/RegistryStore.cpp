#include "platform/sim/RegistryStore.h"

#include <algorithm>
#include <iterator>

namespace norvane::sim {
namespace {

namespace win = platform::win;
using RootMap = std::map<std::wstring, std::unique_ptr<RegKey>, text::NoCaseLess>;

constexpr const wchar_t* kLocalMachine = L"HKEY_LOCAL_MACHINE";
constexpr const wchar_t* kCurrentUser = L"HKEY_CURRENT_USER";
constexpr const wchar_t* kUsers = L"HKEY_USERS";
constexpr const wchar_t* kClasses = L"SOFTWARE\\Classes";

// The names a path may begin with, the stored root each stands for and the keys below that root.
struct RootAlias {
    const wchar_t* name;
    const wchar_t* root;
    const wchar_t* below;
};
constexpr RootAlias kRootAliases[] = {
    {L"HKEY_LOCAL_MACHINE", kLocalMachine, L""},
    {L"HKLM", kLocalMachine, L""},
    {L"HKEY_CURRENT_USER", kCurrentUser, L""},
    {L"HKCU", kCurrentUser, L""},
    {L"HKEY_USERS", kUsers, L""},
    {L"HKU", kUsers, L""},
    {L"HKEY_CLASSES_ROOT", kLocalMachine, kClasses},
    {L"HKCR", kLocalMachine, kClasses},
};

// A full path taken apart.
struct KeyPath {
    platform::WinError error = win::kSuccess;
    const wchar_t* root = nullptr;
    std::vector<std::wstring> names;  // below the stored root
    bool namesRoot = false;           // the path names a root key (HKEY_CLASSES_ROOT included)
};

void AppendNames(const std::wstring& path, std::vector<std::wstring>& names) {
    for (auto& name : text::Split(path, L'\\')) {
        if (!name.empty())
            names.push_back(std::move(name));
    }
}

KeyPath Parse(const std::wstring& path) {
    KeyPath result;
    const std::size_t slash = path.find(L'\\');
    const std::wstring first = path.substr(0, slash);
    const auto alias =
        std::find_if(std::begin(kRootAliases), std::end(kRootAliases),
                     [&](const RootAlias& a) { return text::EqualsNoCase(first, a.name); });
    if (alias == std::end(kRootAliases)) {
        result.error = win::kInvalidHandle;
        return result;
    }
    const std::wstring below = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
    const bool classesRoot = *alias->below != L'\0';
    // RegOpenKeyExW refuses a subkey path that begins with a backslash, except under the merged
    // HKEY_CLASSES_ROOT view, which accepts it.
    if (!classesRoot && below.starts_with(L'\\')) {
        result.error = win::kBadPathname;
        return result;
    }
    result.root = alias->root;
    AppendNames(alias->below, result.names);
    const std::size_t fixed = result.names.size();
    AppendNames(below, result.names);
    result.namesRoot = result.names.size() == fixed;
    return result;
}

template <typename Key>
Key* Walk(Key* key, const std::vector<std::wstring>& names, std::size_t count) {
    for (std::size_t i = 0; i < count && key; ++i) {
        const auto it = key->subkeys.find(names[i]);
        key = it == key->subkeys.end() ? nullptr : it->second.get();
    }
    return key;
}

platform::WinError Remove(RootMap& roots, const std::wstring& path, bool withSubkeys) {
    const KeyPath where = Parse(path);
    if (where.error != win::kSuccess)
        return where.error;
    if (where.namesRoot)
        return win::kAccessDenied;
    RegKey* parent = Walk(roots.at(where.root).get(), where.names, where.names.size() - 1);
    if (!parent)
        return win::kFileNotFound;
    const auto it = parent->subkeys.find(where.names.back());
    if (it == parent->subkeys.end())
        return win::kFileNotFound;
    if (!withSubkeys && !it->second->subkeys.empty())
        return win::kAccessDenied;
    parent->subkeys.erase(it);
    return win::kSuccess;
}

// The sort key of a subkey name as Windows orders them: A to Z upper-cased, then by UTF-16 code
// units.
std::wstring EnumOrderKey(const std::wstring& name) {
    std::wstring key = name;
    for (wchar_t& c : key) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - (L'a' - L'A'));
    }
    return key;
}

}  // namespace

const platform::RegValue* RegKey::FindValue(const std::wstring& valueName) const {
    for (const auto& [name, value] : values) {
        if (text::EqualsNoCase(name, valueName))
            return &value;
    }
    return nullptr;
}

void RegKey::SetValue(const std::wstring& valueName, platform::RegValue value) {
    // An existing value keeps its place and its spelling, as RegSetValueExW leaves them.
    for (auto& [name, existing] : values) {
        if (text::EqualsNoCase(name, valueName)) {
            existing = std::move(value);
            return;
        }
    }
    values.emplace_back(valueName, std::move(value));
}

bool RegKey::DeleteValue(const std::wstring& valueName) {
    const auto it = std::find_if(values.begin(), values.end(), [&](const auto& entry) {
        return text::EqualsNoCase(entry.first, valueName);
    });
    if (it == values.end())
        return false;
    values.erase(it);
    return true;
}

std::vector<const RegKey*> RegKey::SubkeysInEnumOrder() const {
    std::vector<std::pair<std::wstring, const RegKey*>> sorted;
    sorted.reserve(subkeys.size());
    for (const auto& [name, key] : subkeys)
        sorted.emplace_back(EnumOrderKey(name), key.get());
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return text::CompareUtf16(a.first, b.first) < 0;
    });
    std::vector<const RegKey*> keys;
    keys.reserve(sorted.size());
    for (const auto& entry : sorted)
        keys.push_back(entry.second);
    return keys;
}

RegistryStore::RegistryStore() {
    for (const wchar_t* name : {kLocalMachine, kCurrentUser, kUsers}) {
        auto root = std::make_unique<RegKey>();
        root->name = name;
        m_roots.emplace(name, std::move(root));
    }
}

platform::WinError RegistryStore::CheckPath(const std::wstring& path) {
    return Parse(path).error;
}

std::size_t RegistryStore::Depth(const std::wstring& path) {
    return Parse(path).names.size();
}

const RegKey* RegistryStore::Find(const std::wstring& path) const {
    const KeyPath where = Parse(path);
    if (where.error != win::kSuccess)
        return nullptr;
    return Walk(static_cast<const RegKey*>(m_roots.at(where.root).get()), where.names,
                where.names.size());
}

RegKey* RegistryStore::Find(const std::wstring& path) {
    ++m_generation;
    return const_cast<RegKey*>(std::as_const(*this).Find(path));
}

RegKey* RegistryStore::Create(const std::wstring& path, bool* created) {
    ++m_generation;
    const KeyPath where = Parse(path);
    if (where.error != win::kSuccess)
        return nullptr;
    RegKey* key = m_roots.at(where.root).get();
    bool made = false;
    for (const auto& name : where.names) {
        auto& slot = key->subkeys[name];
        if (!slot) {
            slot = std::make_unique<RegKey>();
            slot->name = name;
            made = true;
        }
        key = slot.get();
    }
    if (created)
        *created = made;
    return key;
}

platform::WinError RegistryStore::Delete(const std::wstring& path) {
    ++m_generation;
    return Remove(m_roots, path, false);
}

platform::WinError RegistryStore::DeleteTree(const std::wstring& path) {
    ++m_generation;
    return Remove(m_roots, path, true);
}

std::wstring RegistryStore::RootName(platform::RootKey root) {
    switch (root) {
        case platform::RootKey::ClassesRoot:
            return L"HKEY_CLASSES_ROOT";
        case platform::RootKey::CurrentUser:
            return kCurrentUser;
        case platform::RootKey::LocalMachine:
            break;
    }
    return kLocalMachine;
}

}  // namespace norvane::sim
