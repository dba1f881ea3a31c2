#include "harness/MachineInventory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/Text.h"

namespace norvane::testing {

namespace fs = std::filesystem;

MachineState State(TestMachine& m) {
    MachineState items;
    const fs::path drive = m.Folder() / "drive_c";
    for (const auto& entry : fs::recursive_directory_iterator(drive)) {
        std::wstring path = L"c:\\" + text::FromUtf8(fs::relative(entry.path(), drive).string());
        std::replace(path.begin(), path.end(), L'/', L'\\');
        std::string bytes;
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        items[text::LowerAscii(path)] = std::move(bytes);
    }
    auto machine = m.Load();
    auto walk = [&](auto& self, const sim::RegKey& key, const std::wstring& path) -> void {
        items[text::LowerAscii(path)];
        for (const auto& [name, value] : key.values) {
            items[text::LowerAscii(path + L" = " + name)] =
                std::to_string(static_cast<int>(value.type)) + ":" +
                std::string(value.data.begin(), value.data.end());
        }
        for (const sim::RegKey* sub : key.SubkeysInEnumOrder())
            self(self, *sub, path + L"\\" + sub->name);
    };
    for (const wchar_t* root : {L"HKEY_LOCAL_MACHINE", L"HKEY_CURRENT_USER"})
        walk(walk, *machine->Registry().Find(root), root);
    return items;
}

std::set<std::wstring> Inventory(TestMachine& m) {
    std::set<std::wstring> paths;
    for (const auto& item : State(m))
        paths.insert(item.first);
    return paths;
}

std::vector<std::wstring> Removed(const std::set<std::wstring>& before,
                                  const std::set<std::wstring>& after) {
    std::vector<std::wstring> gone;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(gone));
    return gone;
}

}  // namespace norvane::testing
