#include "platform/win32/SectionAppend.h"

#include <algorithm>
#include <string_view>

#include "platform/win32/Handles.h"
#include "platform/win32/LastError.h"

namespace norvane::win32 {
namespace {

// Characters the profile functions may take for white space and trim, and control characters:
// text holding them at its ends, or control characters anywhere, reads back otherwise.
bool MaybeSpace(wchar_t c) {
    return c <= L' ' || c == 0x7F || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

bool Plain(std::wstring_view text, bool mayBeEmpty) {
    if (text.empty())
        return mayBeEmpty;
    return !MaybeSpace(text.front()) && !MaybeSpace(text.back()) &&
           std::none_of(text.begin(), text.end(), [](wchar_t c) { return c < L' '; });
}

// "[name]" and a "name=value" line for each string of the list, or nothing when any part is not
// plain or the list holds no string. A line name starting with "[" could read as a header.
std::optional<std::wstring> PlainText(const platform::ProfileSection& section) {
    if (!Plain(section.name, false))
        return std::nullopt;
    std::wstring text = L"[" + section.name + L"]\r\n";
    bool any = false;
    const std::wstring_view list = section.keysAndValues;
    for (std::size_t at = 0; at < list.size() && list[at] != L'\0';) {
        const std::size_t end = std::min(list.find(L'\0', at), list.size());
        const std::wstring_view entry = list.substr(at, end - at);
        const std::size_t equals = entry.find(L'=');
        if (equals == std::wstring_view::npos || !Plain(entry.substr(0, equals), false) ||
            entry.front() == L'[' || !Plain(entry.substr(equals + 1), true)) {
            return std::nullopt;
        }
        text.append(entry);
        text += L"\r\n";
        any = true;
        at = end + 1;
    }
    return any ? std::optional<std::wstring>(std::move(text)) : std::nullopt;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The section names the file holds, as the profile functions list them.
std::vector<std::wstring> SectionNames(const std::wstring& file) {
    for (DWORD size = 4096;; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD count =
            GetPrivateProfileStringW(nullptr, nullptr, L"", buffer.data(), size, file.c_str());
        if (count + 2 >= size)
            continue;  // cut: read again with more room
        std::vector<std::wstring> names;
        for (std::size_t at = 0; at < count && buffer[at] != L'\0';) {
            names.emplace_back(buffer.c_str() + at);
            at += names.back().size() + 1;
        }
        return names;
    }
}

}  // namespace

std::optional<std::string> ReadProfileBytes(const std::wstring& file) {
    const UniqueFile handle(CreateFileW(file.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<std::string>(std::string())
                                                      : std::nullopt;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle.Get(), &size) || size.QuadPart > MAXDWORD)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

std::optional<SectionAppend::Encoding> SectionAppend::EncodingOf(const std::string& bytes) {
    if (bytes.starts_with("\xFF\xFE"))
        return Encoding::kUtf16Le;
    // UTF-8 and big-endian files are left to the writer.
    if (bytes.starts_with("\xFE\xFF") || bytes.starts_with("\xEF\xBB\xBF"))
        return std::nullopt;
    return Encoding::kAnsi;
}

std::optional<std::string> SectionAppend::Encoded(const std::wstring& text, Encoding encoding) {
    if (encoding == Encoding::kUtf16Le)
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size == 0 || WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size,
                                         nullptr, nullptr) != size) {
        return std::nullopt;
    }
    // Only text that comes back unchanged: the writer's own conversion would lose the rest.
    std::wstring back(text.size(), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, back.data(), length) != length ||
        back != text) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<SectionAppend> SectionAppend::Learn(const std::wstring& file,
                                                  const std::string& before,
                                                  const std::string& after,
                                                  const platform::ProfileSection& written) {
    const std::optional<Encoding> encoding = EncodingOf(before);
    const std::optional<std::wstring> text = PlainText(written);
    if (!encoding || !text)
        return std::nullopt;
    const std::optional<std::string> bytes = Encoded(*text, *encoding);
    if (!bytes || after != before + *bytes)
        return std::nullopt;
    return SectionAppend(file, *encoding, SectionNames(file));
}

bool SectionAppend::Add(const platform::ProfileSection& section) {
    const bool known = std::any_of(m_names.begin(), m_names.end(), [&](const std::wstring& name) {
        return SameName(name, section.name);
    });
    m_names.push_back(section.name);
    const std::optional<std::wstring> text = known ? std::nullopt : PlainText(section);
    const std::optional<std::string> bytes = text ? Encoded(*text, m_encoding) : std::nullopt;
    if (bytes) {
        m_pending += *bytes;
        m_pendingSections.push_back(section);
    }
    return bytes.has_value();
}

platform::WinError SectionAppend::Flush(platform::Clock& clock,
                                        std::vector<platform::ProfileSection>& unwritten) {
    // Short enough not to hold up a run, long enough for a program that reads the log as it
    // grows to let go of it.
    constexpr int kTries = 5;
    constexpr std::uint32_t kPauseMs = 100;
    if (m_pending.empty())
        return platform::win::kSuccess;
    const std::string bytes = std::exchange(m_pending, {});
    platform::WinError error = Append(bytes);
    for (int tried = 1; error == ERROR_SHARING_VIOLATION && tried < kTries; ++tried) {
        clock.Sleep(kPauseMs);
        error = Append(bytes);
    }
    if (error)
        unwritten = std::move(m_pendingSections);
    m_pendingSections.clear();
    return error;
}

platform::WinError SectionAppend::Append(const std::string& bytes) const {
    const UniqueFile handle(
        CreateFileW(m_file.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written;
    DWORD count = 0;
    if (!handle || !GetFileTime(handle.Get(), nullptr, nullptr, &written) ||
        !WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr)) {
        return LastError();
    }
    // The profile functions keep a file they have read and read it again only when its time has
    // changed; a write within the same tick of the file system's clock would leave it as it was,
    // so the time is moved on explicitly, to now or, if now is no later, past the old time.
    ULARGE_INTEGER old{{written.dwLowDateTime, written.dwHighDateTime}};
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER later{{now.dwLowDateTime, now.dwHighDateTime}};
    if (later.QuadPart <= old.QuadPart)
        later.QuadPart = old.QuadPart + 1;
    const FILETIME time{later.LowPart, later.HighPart};
    return ErrorOf(SetFileTime(handle.Get(), nullptr, nullptr, &time));
}

}  // namespace norvane::win32
