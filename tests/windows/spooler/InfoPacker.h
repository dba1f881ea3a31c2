// The spooler's way of returning INFO structures (EnumPrintersW, EnumPrinterDriversW,
// GetPrinterDriverW): the caller's buffer holds the structures one after another and then the
// strings they point to. A buffer too small (or none) gets nothing: the call sets the size it
// needs and fails with ERROR_INSUFFICIENT_BUFFER, and the caller asks again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/WinApi.h"

namespace norvane::test_spooler {

// Places strings after the structures; with no buffer it only counts the bytes they take.
class InfoPacker {
public:
    InfoPacker(BYTE* buffer, std::size_t structureBytes)
        : m_buffer(buffer), m_used(structureBytes) {}

    LPWSTR Text(const std::wstring& text);
    // Null for an absent text.
    LPWSTR Text(const std::optional<std::wstring>& text);
    // Strings each ended by a null, the list ended by an empty one.
    LPWSTR List(const std::vector<std::wstring>& items);
    std::size_t Used() const { return m_used; }

private:
    LPWSTR Place(const std::wstring& units);

    BYTE* m_buffer;
    std::size_t m_used;
};

// Returns `items` as structures of type Info, each filled by `fill(packer, item, info)`: the
// buffer protocol above, with *returned set to the number of structures when there is one.
template <typename Info, typename Item, typename Fill>
BOOL ReturnInfos(const std::vector<Item>& items, BYTE* buffer, DWORD size, DWORD* needed,
                 DWORD* returned, Fill fill) {
    const std::size_t structureBytes = items.size() * sizeof(Info);
    InfoPacker counter(nullptr, structureBytes);
    for (const auto& item : items) {
        Info unused{};
        fill(counter, item, unused);
    }
    *needed = static_cast<DWORD>(counter.Used());
    if (returned)
        *returned = 0;
    if (counter.Used() > size || (!buffer && counter.Used() > 0)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    InfoPacker packer(buffer, structureBytes);
    Info* infos = reinterpret_cast<Info*>(buffer);
    for (std::size_t i = 0; i < items.size(); ++i) {
        infos[i] = Info{};
        fill(packer, items[i], infos[i]);
    }
    if (returned)
        *returned = static_cast<DWORD>(items.size());
    return TRUE;
}

}  // namespace norvane::test_spooler
