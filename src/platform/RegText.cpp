#include "platform/RegText.h"

#include <algorithm>
#include <cstdio>

#include "support/Text.h"

namespace norvane::platform {
namespace {

// regedit breaks hex data once a line holds this many characters, the "\\" not counted.
constexpr std::size_t kHexLineWidth = 77;

std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
            case L'\\':
                out += L"\\\\";
                break;
            case L'"':
                out += L"\\\"";
                break;
            case L'\n':
                out += L"\\n";
                break;
            case L'\r':
                out += L"\\r";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

// hex: or hex(N): and the bytes, broken as regedit breaks them: after the comma that brings the
// line to kHexLineWidth characters, with "\" and a new line indented by two spaces.
std::wstring HexData(const RegValue& value, std::size_t lineLength) {
    wchar_t buffer[24];
    std::wstring out = L"hex:";
    if (value.type != RegType::Binary) {
        std::swprintf(buffer, 24, L"hex(%x):", static_cast<unsigned>(value.type));
        out = buffer;
    }
    lineLength += out.size();
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        std::swprintf(buffer, 24, L"%02x", value.data[i]);
        out += buffer;
        if (i + 1 == value.data.size())
            break;
        out += L',';
        lineLength += 3;
        if (lineLength >= kHexLineWidth) {
            out += L"\\\r\n  ";
            lineLength = 2;
        }
    }
    return out;
}

// A REG_SZ is written as "text" only when reading that back gives the same bytes; one without
// its terminator, with a null inside or of odd length is written as hex(1):.
std::wstring ValueData(const RegValue& value, std::size_t lineLength) {
    if (value.type == RegType::Sz && RegValue::String(value.AsString()).data == value.data) {
        return L"\"" + Escaped(value.AsString()) + L"\"";
    }
    if (value.type == RegType::Dword && value.data.size() == 4) {
        wchar_t buffer[24];
        std::swprintf(buffer, 24, L"dword:%02x%02x%02x%02x", value.data[3], value.data[2],
                      value.data[1], value.data[0]);
        return buffer;
    }
    return HexData(value, lineLength);
}

}  // namespace

void AppendRegKey(std::wstring& out, const std::wstring& path, const RegValues& values) {
    out += L"\r\n[" + path + L"]\r\n";
    std::vector<const std::pair<std::wstring, RegValue>*> sorted;
    for (const auto& entry : values)
        sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
        return text::CompareNoCase(a->first, b->first) < 0;
    });
    for (const auto* entry : sorted) {
        const std::wstring name =
            entry->first.empty() ? L"@=" : L"\"" + Escaped(entry->first) + L"\"=";
        out += name + ValueData(entry->second, text::Utf16Length(name)) + L"\r\n";
    }
}

}  // namespace norvane::platform
