// The changes a preview run would have made to the machine, in the order the run asked for them,
// each as platform/ChangeText names it.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace norvane::preview {

class ChangeList {
public:
    void Add(const std::wstring& call, const std::vector<std::wstring>& arguments);
    const std::vector<std::wstring>& Entries() const { return m_entries; }

private:
    std::vector<std::wstring> m_entries;
};

// Whether a path (folded) is among `gone`, as the nearest of itself and the folders above it
// that is in either set says: `made` brings a path back below a gone one. Nullopt when none is.
std::optional<bool> NearestGone(std::wstring folded, const std::set<std::wstring>& gone,
                                const std::set<std::wstring>& made);

// A path or registry key as Windows compares them: ASCII letters folded, "/" read as "\", no
// trailing "\".
std::wstring FoldedPath(const std::wstring& path);

}  // namespace norvane::preview
