#include "platform/sim/SimResources.h"

#include <map>

#include "platform/sim/PeStringTable.h"
#include "platform/sim/RcStringTable.h"

namespace norvane::sim {
namespace {

class ScriptLibrary final : public platform::ResourceLibrary {
public:
    explicit ScriptLibrary(std::map<std::uint32_t, std::wstring> strings)
        : m_strings(std::move(strings)) {}

    std::wstring LoadString(std::uint32_t id) override {
        const auto found = m_strings.find(id);
        return found == m_strings.end() ? std::wstring() : found->second;
    }

private:
    std::map<std::uint32_t, std::wstring> m_strings;
};

}  // namespace

platform::WinError SimResources::LoadLibrary(const std::wstring& path,
                                             std::unique_ptr<platform::ResourceLibrary>& library) {
    library.reset();
    std::vector<std::uint8_t> bytes;
    const platform::WinError error = m_files.ReadFile(path, bytes);
    if (error == platform::win::kFileNotFound || error == platform::win::kPathNotFound) {
        return platform::win::kModNotFound;
    }
    if (error)
        return error;
    // A library built by windres, as a machine captured from a PC holds, or its resource script.
    const bool image = bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
    std::map<std::uint32_t, std::wstring> strings;
    if (image ? ReadPeStringTable(bytes, strings).has_value()
              : ReadRcStringTable(bytes, strings).has_value())
        return platform::win::kBadExeFormat;
    library = std::make_unique<ScriptLibrary>(std::move(strings));
    return platform::win::kSuccess;
}

}  // namespace norvane::sim
