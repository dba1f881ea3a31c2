// The input is a profile file. Every section and key it holds is read with buffers too small
// and large enough, then values are written and deleted, on a machine with code page 1252 and
// on one with 932 (the double-byte decoding).
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "platform/sim/ProfileEngine.h"
#include "targets/Scratch.h"

namespace norvane::fuzz {
namespace {

namespace fs = std::filesystem;
using sim::ProfileEngine;

// Enough for any name list or value of the file: no character takes less than a byte.
std::uint32_t WholeSize(const fs::path& file) {
    std::error_code ec;
    return static_cast<std::uint32_t>(fs::file_size(file, ec)) + 16;
}

// A read into `size` characters, checked as GetPrivateProfileStringW promises: the count stays
// inside the buffer and is followed by a terminator.
std::wstring Read(ProfileEngine& engine, const wchar_t* section, const wchar_t* key,
                  std::uint32_t size, const fs::path& file) {
    std::vector<wchar_t> buffer(size + 1, L'#');
    const std::uint32_t count = engine.GetString(section, key, L"dflt", buffer.data(), size, file);
    FuzzExpect(buffer[size] == L'#', "GetString wrote past the buffer");
    if (size == 0)
        return {};
    FuzzExpect(count < size, "GetString counted past the buffer");
    FuzzExpect(buffer[count] == L'\0', "GetString left its result unterminated");
    return std::wstring(buffer.data(), count);
}

// The null-separated names of a list read.
std::vector<std::wstring> Names(const std::wstring& list) {
    std::vector<std::wstring> names;
    std::size_t start = 0;
    for (std::size_t end; (end = list.find(L'\0', start)) != std::wstring::npos; start = end + 1)
        names.push_back(list.substr(start, end - start));
    if (start < list.size())
        names.push_back(list.substr(start));
    return names;
}

constexpr std::size_t kNamesRead = 4;
constexpr std::uint32_t kSmallSizes[] = {0, 1, 2, 7};

void ReadEverything(ProfileEngine& engine, const fs::path& file) {
    const std::uint32_t whole = WholeSize(file);
    for (const std::uint32_t size : kSmallSizes)
        Read(engine, nullptr, nullptr, size, file);
    const auto sections = Names(Read(engine, nullptr, nullptr, whole, file));
    for (std::size_t s = 0; s < sections.size() && s < kNamesRead; ++s) {
        const wchar_t* section = sections[s].c_str();
        const auto keys = Names(Read(engine, section, nullptr, whole, file));
        for (std::size_t k = 0; k < keys.size() && k < kNamesRead; ++k) {
            for (const std::uint32_t size : kSmallSizes)
                Read(engine, section, keys[k].c_str(), size, file);
            Read(engine, section, keys[k].c_str(), whole, file);
            engine.GetInt(section, keys[k].c_str(), -7, file);
        }
    }
}

void WriteAndDelete(ProfileEngine& engine, const fs::path& file) {
    FuzzExpect(engine.WriteString(L"Fuzz", L"Key", L"Value", file) == 0, "a write failed");
    FuzzExpect(Read(engine, L"Fuzz", L"Key", 64, file) == L"Value",
               "a written value is not read back");
    const auto sections = Names(Read(engine, nullptr, nullptr, WholeSize(file), file));
    for (std::size_t s = 0; s < sections.size() && s < kNamesRead; ++s) {
        const wchar_t* section = sections[s].c_str();
        const auto keys = Names(Read(engine, section, nullptr, WholeSize(file), file));
        if (!keys.empty()) {
            engine.WriteString(section, keys[0].c_str(), L" new ", file);
            engine.WriteString(section, keys.back().c_str(), nullptr, file);
        }
        if (s % 2 == 1)
            engine.WriteString(section, nullptr, nullptr, file);
    }
    ReadEverything(engine, file);
}

}  // namespace

void ProfileEngineTarget(const std::uint8_t* data, std::size_t size) {
    for (const std::uint32_t codePage : {1252u, 932u}) {
        const fs::path file = WriteScratch("profile.ini", data, size);
        ProfileEngine engine(codePage);
        ReadEverything(engine, file);
        WriteAndDelete(engine, file);
    }
}

}  // namespace norvane::fuzz
