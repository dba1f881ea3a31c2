#include "KeyByKeyLog.h"

#include <algorithm>
#include <chrono>

#include "log/LogFile.h"

namespace norvane::bench {

KeyByKeyCheck WriteKeyByKey(testing::TestMachine& files, sim::Machine& machine,
                            const std::wstring& log, const std::wstring& replay) {
    KeyByKeyCheck check;
    const std::string written = files.ReadFile(log);
    check.bytes = written.size();
    if (std::any_of(written.begin(), written.end(),
                    [](char c) { return static_cast<unsigned char>(c) > 0x7F; })) {
        return check;
    }
    check.checked = true;
    const std::wstring text(written.begin(), written.end());
    std::size_t at = text.find(L"\r\n[");
    if (text.starts_with(L"["))
        at = 0;
    const std::size_t headerEnd = at == std::wstring::npos ? text.size() : at + (at ? 2 : 0);
    files.WriteFile(replay, written.substr(0, headerEnd));

    const auto start = std::chrono::steady_clock::now();
    std::wstring section;
    for (std::size_t line = headerEnd; line < text.size();) {
        std::size_t end = text.find(L"\r\n", line);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring content = text.substr(line, end - line);
        line = end + 2;
        if (content.starts_with(L"[")) {
            section = content.substr(1, content.rfind(L']') - 1);
            ++check.sections;
        } else if (const auto equals = content.find(L'='); equals != std::wstring::npos) {
            WriteLogString(machine.Platform(), section.c_str(), content.substr(0, equals).c_str(),
                           content.substr(equals + 1).c_str(), replay);
            ++check.keys;
        }
    }
    check.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    check.same = files.ReadFile(replay) == written;
    return check;
}

}  // namespace norvane::bench
