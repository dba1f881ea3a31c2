// Names that the machine's ANSI code page cannot hold turn Norvane.log into a Unicode file, so
// that they are written once and found again; names that fit leave it an ANSI file.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"
#include "platform/sim/AnsiCodePage.h"
#include "support/Text.h"

namespace norvane {
namespace {

using namespace testing;

struct LogCase {
    std::uint32_t codePage;
    std::string printer;  // UTF-8
    bool unicode;         // whether the log must have become UTF-16LE
};

std::size_t Count(const std::wstring& text, const std::wstring& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(LogCodePageTest, PrinterNameIsWrittenOnceAndFoundAgain) {
    const LogCase cases[] = {
        {1252, "Drucker B\xC3\xBCro \xE2\x98\x83 \xE6\x97\xA5\xE6\x9C\xAC", true},
        {1252, "Drucker B\xC3\xBCro", false},
        {932, "\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF \xE6\x97\xA5\xE6\x9C\xAC", false},
        {932, "Drucker B\xC3\xBCro", true},
        {936, "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA \xE5\x8A\x9E\xE5\x85\xAC\xE5\xAE\xA4", false},
        {949, "\xED\x94\x84\xEB\xA6\xB0\xED\x84\xB0", false},
        {1250, "Drukarka \xC5\x81\xC3\xB3" "d\xC5\xBA", false},
        {1250, "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA", true},
        {65001, "Drucker B\xC3\xBCro \xE2\x98\x83 \xE6\x97\xA5\xE6\x9C\xAC", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer + " at " + std::to_string(c.codePage));
        TestMachine m;
        m.SetJson(R"({"ansiCodePage": )" + std::to_string(c.codePage) + "}");
        PrintSetup setup(m);
        setup.Driver(PlainDriver("Model B", "CVMB_UI.DLL", {"CVMB.DLL"}))
            .Printer(c.printer, "Model B");
        setup.Install(ConfigIni({"Model B"}));
        const std::wstring name = text::FromUtf8(c.printer);
        const auto run = m.Run(L"/s /p " + name);
        // The log is written anew only when it is made; turned Unicode, it is replaced whole by
        // a file written beside it, so that a run killed meanwhile leaves the old log.
        const auto count = [&](const std::wstring& start) {
            return std::count_if(run.journal.begin(), run.journal.end(),
                                 [&](const auto& entry) { return entry.starts_with(start); });
        };
        EXPECT_EQ(count(L"WriteFile \"" + std::wstring(kProgramFolder) + L"Norvane.log\""), 1);
        EXPECT_EQ(count(L"MoveFile \"" + std::wstring(kProgramFolder) + L"Norvane.log.new\" \"" +
                        kProgramFolder + L"Norvane.log\""),
                  c.unicode ? 1 : 0);
        EXPECT_FALSE(m.Exists(std::wstring(kProgramFolder) + L"Norvane.log.new"));

        const std::string bytes = m.ReadFile(kLogFile);
        ASSERT_EQ(bytes.starts_with("\xFF\xFE"), c.unicode);
        const std::wstring log =
            c.unicode ? text::FromUtf16Le(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2,
                                          bytes.size() - 2)
                      : sim::AnsiCodePage(c.codePage).Decode(bytes);
        // What the log held before it changed is still there, comment lines and all.
        EXPECT_TRUE(log.starts_with(L"; Norvane.log\r\n;This log file records")) << bytes;
        EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Name", c.codePage), L"Halvex");
        EXPECT_EQ(Count(log, L"[PrinterInfo "), 1u);
        EXPECT_EQ(Count(log, L"[PrinterInfo " + name + L"]"), 1u);
        const std::wstring section = L"PrinterInfo " + name;
        EXPECT_EQ(m.Ini(kLogFile, section.c_str(), L"DriverName", c.codePage), L"Model B");
        EXPECT_EQ(m.Ini(kLogFile, L"DelPrinterResult", name.c_str(), c.codePage), L"0");
        EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", name.c_str(), c.codePage), L"0");
    }
}

TEST(LogCodePageTest, CodePageMarksWhatItCannotHold) {
    const sim::AnsiCodePage japanese(932);
    EXPECT_EQ(japanese.Encode(L"A\u65E5\u672C\u2603"), "A\x93\xFA\x96{?");
    EXPECT_EQ(japanese.Decode("A\x93\xFA\x96{"), L"A\u65E5\u672C");
    EXPECT_TRUE(japanese.Holds(L"\u30D7\u30EA\u30F3\u30BF"));
    EXPECT_FALSE(japanese.Holds(L"B\u00FCro"));
    const sim::AnsiCodePage western(1252);
    EXPECT_TRUE(western.Holds(L"B\u00FCro \u20AC"));
    EXPECT_FALSE(western.Holds(L"\u2603"));
    EXPECT_EQ(sim::AnsiCodePage(936).Encode(L"\u4E2D\u6587\u2603"), "\xD6\xD0\xCE\xC4?");
}

// A log that cannot be replaced keeps what it held, nothing is left beside it, and the run fails.
TEST(LogCodePageTest, LogThatCannotBeReplacedLeavesNothingBehind) {
    TestMachine m;
    m.SetJson(
        R"({"faults": {"lockedFiles": ["C:\\Program Files\\Halvex\\Norvane\\Norvane.log"]}})");
    PrintSetup setup(m);
    setup.Driver(PlainDriver("Model B", "CVMB_UI.DLL", {"CVMB.DLL"}))
        .Printer("Drucker \xE2\x98\x83", "Model B");
    setup.Install(ConfigIni({"Model B"}));
    const auto run = m.Run(L"/s /e /p Drucker \u2603");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(m.Exists(std::wstring(kProgramFolder) + L"Norvane.log.new"));
    EXPECT_TRUE(m.ReadFile(kLogFile).starts_with("; Norvane.log\r\n"));
}

}  // namespace
}  // namespace norvane
