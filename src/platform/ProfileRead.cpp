#include "platform/ProfileRead.h"

namespace norvane::platform {
namespace {

constexpr std::uint32_t kFirstSize = 260;

}  // namespace

// Each read goes through the whole file, so the buffer doubles: a value of n characters costs
// a number of reads that grows with log n, not with n.
std::wstring ReadWhole(Profile& profile, const wchar_t* section, const wchar_t* key,
                       const std::wstring& file) {
    for (std::uint32_t size = kFirstSize;; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        const std::uint32_t count = profile.GetString(section, key, L"", buffer.data(), size, file);
        // A value that fills the buffer, or a list cut short, reads size - 1 or size - 2.
        if (count != size - 1 && count != size - 2)
            return std::wstring(buffer.data(), count);
    }
}

std::vector<std::wstring> ReadNames(Profile& profile, const wchar_t* section,
                                    const std::wstring& file) {
    std::vector<std::wstring> found;
    const std::wstring names = ReadWhole(profile, section, nullptr, file);
    if (names.empty())
        return found;
    // Names are separated by nulls; the count includes the null after the last name.
    std::wstring current;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        if (names[i] != L'\0') {
            current += names[i];
        } else {
            found.push_back(current);
            current.clear();
        }
    }
    found.push_back(current);
    return found;
}

}  // namespace norvane::platform
