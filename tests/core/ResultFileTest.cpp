// The setup.log an uninstaller leaves is read as its result only when it is that uninstaller's
// own: one left from before the start is deleted first, and one that could not be deleted, or
// that the uninstaller did not write anew, is no success.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/DemoMachine.h"
#include "harness/PrintSetup.h"
#include "harness/ProcessStarts.h"
#include "harness/TestMachine.h"
#include "support/Text.h"

namespace norvane {
namespace {

using namespace testing;

constexpr char kInstallShield[] =
    "C:\\Program Files (x86)\\InstallShield Installation Information\\";

// One kind of uninstaller of the demo machine: the fax address book utility, whose uninstaller
// reports in the program's ISS folder, and the Model A scanner, whose setup program reports
// beside itself.
struct Kind {
    const char* name;
    const wchar_t* commandLine;
    std::string program;  // the uninstaller's executable
    std::string setupLog;
    const wchar_t* section;  // of the log's results
    const wchar_t* key;
};

TEST(ResultFileTest, OnlyALogWrittenAfterTheStartIsTheResult) {
    const Kind kinds[] = {
        {"utility", L"/s /x Corvida Model A,Corvida Model B /u 1",
         std::string(kInstallShield) + "{3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}\\setup.exe",
         "C:\\Program Files\\Halvex\\Norvane\\ISS\\setup.log", L"UtilityUninstResult",
         L"FaxAddressBook"},
        {"scanner", L"/s /t \"Corvida Model A Scanner\"",
         std::string(kInstallShield) + "{C81E5B3A-7D92-4F06-B4A1-5E2D9C3F6A70}\\setup.exe",
         std::string(kInstallShield) + "{C81E5B3A-7D92-4F06-B4A1-5E2D9C3F6A70}\\setup.log",
         L"ScannerUninstResult", L"Corvida Model A Scanner"},
    };
    const struct {
        const char* what;
        bool oldLog;    // a setup.log saying success is there before the start
        bool readOnly;  // and lies on a read-only share
        bool writes;    // the uninstaller writes its own
        const wchar_t* result;
        bool started;
    } states[] = {
        {"fresh", false, false, true, L"0", true},
        {"stale", true, false, false, L"1", true},
        {"undeletable", true, true, true, L"1", false},
        {"missing", false, false, false, L"1", true},
    };
    for (const Kind& kind : kinds) {
        for (const auto& state : states) {
            SCOPED_TRACE(std::string(kind.name) + ", " + state.what);
            TestMachine m;
            CopyDemo(m);
            const std::string program = DoubledBackslashes(kind.program);
            const std::string log = DoubledBackslashes(kind.setupLog);
            PatchJson(m, "{\"programs\": {\"" + program +
                             "\": " + (state.writes ? "{}" : "{\"writeIni\": null}") +
                             "}, \"faults\": {\"readOnlyFiles\": [" +
                             (state.readOnly ? "\"" + log + "\"" : "") + "]}}");
            if (state.oldLog) {
                m.WriteFile(text::FromUtf8(kind.setupLog), "[ResponseResult]\r\nResultCode=0\r\n");
            }
            const auto starts = ProcessStarts(m.Run(kind.commandLine));
            EXPECT_EQ(m.Ini(kLogFile, kind.section, kind.key), state.result);
            EXPECT_EQ(std::any_of(starts.begin(), starts.end(),
                                  [&](const std::wstring& start) {
                                      return start.find(text::FromUtf8(kind.program)) !=
                                             std::wstring::npos;
                                  }),
                      state.started);
        }
    }
}

}  // namespace
}  // namespace norvane
