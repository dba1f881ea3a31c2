// The changes a preview run would have made to the machine, in the order the run asked for them.
// Each entry is the call and what it names, "|" between its arguments:
//   DeletePrinterDriverEx Windows x64|Corvida MX-100
#pragma once

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

// A path or registry key as Windows compares them: ASCII letters folded, "/" read as "\", no
// trailing "\".
std::wstring FoldedPath(const std::wstring& path);

}  // namespace norvane::preview
