#include "platform/sim/PendingRenames.h"

#include "support/Text.h"

namespace norvane::sim {
namespace {

std::wstring WithoutNtPrefix(const std::wstring& path) {
    return path.starts_with(L"\\??\\") ? path.substr(4) : path;
}

}  // namespace

std::vector<PendingRename> ReadPendingRenames(const platform::RegValue& value) {
    const auto strings =
        text::Split(text::FromUtf16Le(value.data.data(), value.data.size()), L'\0');
    std::vector<PendingRename> renames;
    for (std::size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2) {
        PendingRename rename{WithoutNtPrefix(strings[i]), strings[i + 1]};
        if (rename.target.starts_with(L'!')) {
            rename.replace = true;
            rename.target.erase(0, 1);
        }
        rename.target = WithoutNtPrefix(rename.target);
        renames.push_back(std::move(rename));
    }
    return renames;
}

platform::RegValue WithPendingDeletion(const platform::RegValue* existing,
                                       const std::wstring& path) {
    std::wstring list;
    if (existing)
        list = text::FromUtf16Le(existing->data.data(), existing->data.size());
    // The empty string that ends the list goes; the new pair and a new end follow.
    if (!list.empty() && list.back() == L'\0')
        list.pop_back();
    list += L"\\??\\" + path + std::wstring(3, L'\0');
    return {platform::RegType::MultiSz, text::ToUtf16Le(list)};
}

}  // namespace norvane::sim
