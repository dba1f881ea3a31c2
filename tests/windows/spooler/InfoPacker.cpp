#include "InfoPacker.h"

#include <cstring>

namespace norvane::test_spooler {

LPWSTR InfoPacker::Place(const std::wstring& units) {
    const std::size_t bytes = units.size() * sizeof(wchar_t);
    LPWSTR placed = nullptr;
    if (m_buffer) {
        placed = reinterpret_cast<LPWSTR>(m_buffer + m_used);
        std::memcpy(placed, units.data(), bytes);
    }
    m_used += bytes;
    return placed;
}

LPWSTR InfoPacker::Text(const std::wstring& text) {
    return Place(text + L'\0');
}

LPWSTR InfoPacker::Text(const std::optional<std::wstring>& text) {
    return text ? Text(*text) : nullptr;
}

LPWSTR InfoPacker::List(const std::vector<std::wstring>& items) {
    std::wstring units;
    for (const auto& item : items)
        units += item + L'\0';
    return Place(units + L'\0');
}

}  // namespace norvane::test_spooler
