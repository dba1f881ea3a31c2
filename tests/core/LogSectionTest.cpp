// A section of Norvane.log written in one call leaves the file byte for byte as writing its keys
// one by one does: the same reports are written both ways on two machines and the logs compared
// after each report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/CountingProfile.h"
#include "harness/TestMachine.h"
#include "log/LogFile.h"
#include "support/Text.h"

namespace norvane {
namespace {

using namespace testing;

constexpr wchar_t kLog[] = L"C:\\Logs\\Norvane.log";

struct Section {
    std::wstring name;
    std::vector<LogEntry> entries;
    bool oneCall;  // whether the section write may be used
};
using Report = std::vector<Section>;

struct Case {
    const char* name;
    std::uint32_t codePage;
    std::vector<Report> reports;  // written one after another into the same log
};

const std::string kHeader =
    "; Norvane.log\r\n;This log file records the results.\r\n[Date]\r\nLogDate=2026-01-02\r\n";

// Writes the reports into a fresh log, by sections or key by key; answers the log after each.
std::vector<std::string> WriteReports(const Case& c, bool bySection) {
    TestMachine m;
    m.SetJson(R"({"ansiCodePage": )" + std::to_string(c.codePage) + "}");
    m.WriteFile(kLog, kHeader);
    auto machine = m.Load();
    platform::Platform& base = machine->Platform();
    CountingProfile profile(base.profile);
    platform::Platform p{base.spooler,  base.registry, profile,        base.files, base.processes,
                         base.security, base.system,   base.resources, base.clock, base.ui};
    std::vector<std::string> logs;
    for (const Report& report : c.reports) {
        for (const Section& section : report) {
            SCOPED_TRACE(text::ToUtf8(section.name));
            profile.stringWrites = profile.sectionWrites = 0;
            if (bySection) {
                EXPECT_EQ(WriteLogSection(p, section.name, section.entries, kLog), 0u);
                EXPECT_EQ(profile.sectionWrites, section.oneCall ? 1 : 0);
                EXPECT_EQ(profile.stringWrites, section.oneCall ? 0 : int(section.entries.size()));
            } else {
                for (const LogEntry& entry : section.entries) {
                    EXPECT_EQ(WriteLogString(p, section.name.c_str(), entry.name.c_str(),
                                             entry.value.c_str(), kLog),
                              0u);
                }
            }
        }
        logs.push_back(m.ReadFile(kLog));
    }
    return logs;
}

TEST(LogSectionTest, SectionWriteGivesTheLogOfKeyByKeyWrites) {
    const Case cases[] = {
        {"result sections and printer settings",
         1252,
         {{{L"UninstResult", {{L"Model A", L"0"}, {L"Model B", L"1"}}, true},
           {L"DelPrinterResult", {{L"Model A (1)", L"0"}, {L"Model B (1)", L"1"}}, true},
           {L"PrinterInfo Model A (1)",
            {{L"PortName", L"USB001"},
             {L"DriverName", L"Model A"},
             {L"ShareName", L""},
             {L"Default", L"1"},
             {L"DEVMODE", L"Model A (1).bin"}},
            true}}}},
        {"names with = ; [ and white space",
         1252,
         {{{L"UninstResult",
            {{L"  lead", L"0"}, {L"trail  ", L"1"}, {L"x;y", L"0"}, {L"x[y]", L"0"}, {L"]", L"2"}},
            true},
           {L"DelPrinterResult", {{L"a=b", L"0"}, {L"a", L"1"}}, false},
           {L"ScannerUninstResult", {{L";c", L"0"}, {L"d", L"  1  "}}, false},
           {L"UtilityUninstResult", {{L"[e]f", L"0"}, {L"g", L"0"}}, false},
           {L"PrinterInfo [x]", {{L"PortName", L"a=b;[c]"}}, true}}}},
        {"names one key to the profile functions, empty, or with a line break",
         1252,
         {{{L"UninstResult", {{L"Name", L"0"}, {L"NAME ", L"1"}}, false},
           {L"DelPrinterResult", {{L"  ", L"0"}, {L"b", L"1"}}, false},
           {L"ScannerUninstResult", {{L"c\r\nd", L"0"}}, false},
           {L"UtilityUninstResult", {{L"e", L"1\n2"}}, false}}}},
        {"the second write after the utilities",
         1252,
         {{{L"UninstResult", {{L"B", L"0"}, {L"A", L"0"}}, true},
           {L"DelPrinterResult", {{L"B (1)", L"0"}}, true}},
          {{L"uninstresult", {{L"a", L"5"}, {L"C", L"1"}, {L"B", L"0"}}, true},
           {L"DelPrinterResult", {{L"B (1)", L"0"}}, true},
           {L"UtilityUninstResult", {{L"Tool", L"0"}}, true}},
          {{L"UninstResult", {{L"C", L"2"}}, false}}}},
        {"names the ANSI code page cannot hold",
         1252,
         {{{L"UninstResult", {{L"Plain", L"0"}}, true},
           {L"DelPrinterResult", {{L"Drucker \u65E5\u672C", L"0"}, {L"x=\u2603", L"1"}}, false},
           {L"PrinterInfo Drucker \u65E5\u672C", {{L"PortName", L"USB001"}}, true},
           {L"ScannerUninstResult", {{L"Caf\u00E9", L"0"}}, true}}}},
        {"a value the ANSI code page cannot hold, in a Japanese code page",
         932,
         {{{L"UninstResult", {{L"\u65E5\u672C", L"0"}}, true},
           {L"PrinterInfo \u65E5\u672C", {{L"PortName", L"\u00E9"}}, true}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> bySection = WriteReports(c, true);
        const std::vector<std::string> byKey = WriteReports(c, false);
        ASSERT_EQ(bySection.size(), byKey.size());
        for (std::size_t i = 0; i < byKey.size(); ++i)
            EXPECT_EQ(bySection[i], byKey[i]) << "after report " << i + 1;
    }
}

}  // namespace
}  // namespace norvane
