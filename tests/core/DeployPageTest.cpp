// Every command line of the deployment page (docs/deploy.md), read from the page itself and run
// on copies of the demo machine: a removal ends with 0 and its log where its /o names, a
// detection (/n) answers 0 on the demo without changing anything and 2 once the page's removal
// has run.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "harness/DemoMachine.h"
#include "harness/MachineInventory.h"
#include "support/Text.h"

namespace norvane {
namespace {

using testing::MachineState;
using testing::TestMachine;

struct PageCommand {
    std::wstring line;       // as the page gives it, variables expanded
    std::wstring program;    // the program named, without quotes
    std::wstring arguments;  // what follows the program
    std::wstring logFolder;  // the /o argument
    bool detection = false;  // a preview (/n)
};

// %NAME% as Windows expands it for the SYSTEM account on the demo machine; a name this table
// does not hold fails the test, so that the page never relies on one it cannot check.
std::wstring Expand(const std::wstring& line) {
    static const std::pair<const wchar_t*, const wchar_t*> kVariables[] = {
        {L"ProgramData", L"C:\\ProgramData"},
        {L"SystemRoot", L"C:\\Windows"},
        {L"windir", L"C:\\Windows"},
    };
    std::wstring out;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t open = line.find(L'%', at);
        const std::size_t close = open == std::wstring::npos ? open : line.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            out += line.substr(at);
            break;
        }
        out += line.substr(at, open - at);
        const std::wstring name = line.substr(open + 1, close - open - 1);
        const auto known =
            std::find_if(std::begin(kVariables), std::end(kVariables),
                         [&](const auto& v) { return text::EqualsNoCase(name, v.first); });
        if (known == std::end(kVariables)) {
            ADD_FAILURE() << "the page uses %" << text::ToUtf8(name) << "%";
            out += line.substr(open, close - open + 1);
        } else {
            out += known->second;
        }
        at = close + 1;
    }
    return out;
}

// The lines of the page's fenced blocks that start Norvane.exe, quoted or not, after
// PowerShell's call operator where a script has one; each distinct line once.
std::vector<PageCommand> PageCommands() {
    std::ifstream in(NORVANE_SOURCE_DIR "/docs/deploy.md");
    std::vector<PageCommand> commands;
    bool fenced = false;
    for (std::string raw; std::getline(in, raw);) {
        std::wstring line = text::Trim(text::FromUtf8(raw));
        if (line.starts_with(L"```")) {
            fenced = !fenced;
            continue;
        }
        if (line.starts_with(L"& "))
            line = text::TrimLeft(line.substr(2));
        const bool quoted = line.starts_with(L'"');
        const std::size_t end = quoted ? line.find(L'"', 1) : line.find(L' ');
        if (!fenced || end == std::wstring::npos)
            continue;
        const std::wstring program = line.substr(quoted, end - quoted);
        if (!text::EqualsNoCase(program, L"Norvane.exe") &&
            !text::LowerAscii(program).ends_with(L"\\norvane.exe")) {
            continue;
        }
        PageCommand command;
        command.line = Expand(line);
        command.program = program;
        command.arguments = text::Trim(Expand(line.substr(end + quoted)));
        // As the page says: the folder runs to the next switch.
        const std::size_t o = command.arguments.find(L"/o ");
        if (o != std::wstring::npos) {
            const std::size_t next = command.arguments.find(L'/', o + 3);
            command.logFolder = text::Trim(command.arguments.substr(o + 3, next - o - 3));
        }
        command.detection = command.arguments.find(L"/n") != std::wstring::npos;
        const bool seen = std::any_of(commands.begin(), commands.end(),
                                      [&](const auto& c) { return c.line == command.line; });
        if (!seen)
            commands.push_back(std::move(command));
    }
    return commands;
}

// True when the path is the folder, lies in it, or is one of the folders made to hold it.
bool InOrAbove(const std::wstring& path, const std::wstring& folder) {
    const std::wstring lower = text::LowerAscii(folder);
    return path == lower || path.starts_with(lower + L'\\') || lower.starts_with(path + L'\\');
}

std::vector<std::wstring> ChangedOutside(const MachineState& before, const MachineState& after,
                                         const std::wstring& folder) {
    std::vector<std::wstring> changed;
    auto note = [&](const std::wstring& path) {
        if (!InOrAbove(path, folder))
            changed.push_back(path);
    };
    for (const auto& [path, content] : before) {
        const auto now = after.find(path);
        if (now == after.end() || now->second != content)
            note(path);
    }
    for (const auto& [path, content] : after) {
        if (!before.contains(path))
            note(path);
    }
    return changed;
}

TEST(DeployPageTest, EveryCommandDoesWhatThePageSays) {
    const std::vector<PageCommand> commands = PageCommands();
    std::vector<const PageCommand*> detections, removals;
    for (const auto& command : commands)
        (command.detection ? detections : removals).push_back(&command);
    ASSERT_FALSE(detections.empty());
    ASSERT_FALSE(removals.empty());

    for (const auto& command : commands) {
        SCOPED_TRACE(text::ToUtf8(command.line));
        EXPECT_TRUE(command.program == L"Norvane.exe" ||
                    text::EqualsNoCase(command.program,
                                       std::wstring(testing::kProgramFolder) + L"Norvane.exe"));
        ASSERT_FALSE(command.logFolder.empty()) << "every command names its log folder";
        TestMachine m;
        testing::CopyDemo(m);
        const MachineState before = State(m);
        const auto run = m.Run(command.arguments);
        EXPECT_TRUE(m.Exists(command.logFolder + L"\\Norvane.log"));
        EXPECT_FALSE(m.Exists(testing::kLogFile));
        // The trace, where the page asks for one, beside the log.
        EXPECT_EQ(m.Exists(command.logFolder + L"\\Norvane.trace.log"),
                  command.arguments.ends_with(L" /v"));
        if (command.detection) {
            EXPECT_EQ(run.exitCode, 0) << "the demo has the package";
            EXPECT_EQ(ChangedOutside(before, State(m), command.logFolder),
                      std::vector<std::wstring>{});
            continue;
        }
        EXPECT_EQ(run.exitCode, 0);
        for (const PageCommand* detection : detections) {
            SCOPED_TRACE("then " + text::ToUtf8(detection->line));
            EXPECT_EQ(m.Run(detection->arguments).exitCode, 2) << "nothing is left";
        }
    }
}

}  // namespace
}  // namespace norvane
