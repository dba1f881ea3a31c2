// The sections of a report written together leave Norvane.log byte for byte as writing their keys
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
    // For each report, how many times the section writes go to the profile functions: once for
    // each run of them that neither a key-by-key section nor a section the log holds (whose keys
    // are read first) interrupts.
    std::vector<int> calls;
};

// A print server's printer settings: every section new, each one section write, all in one call.
Report PrinterSettings(int count, const std::wstring& stem) {
    Report report;
    for (int i = 1; i <= count; ++i) {
        const std::wstring printer = stem + L" (" + std::to_wstring(i) + L")";
        report.push_back({L"PrinterInfo " + printer,
                          {{L"PortName", L"USB001"},
                           {L"DriverName", stem},
                           {L"ShareName", L""},
                           {L"Default", i == 1 ? L"1" : L"0"},
                           {L"DEVMODE", printer + L".bin"}},
                          true});
    }
    return report;
}

Report Joined(Report first, const Report& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

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
    for (std::size_t r = 0; r < c.reports.size(); ++r) {
        const Report& report = c.reports[r];
        SCOPED_TRACE("report " + std::to_string(r + 1));
        if (bySection) {
            std::vector<LogSection> sections;
            int keyByKey = 0;
            for (const Section& section : report) {
                sections.push_back({section.name, section.entries});
                keyByKey += section.oneCall ? 0 : int(section.entries.size());
            }
            profile.stringWrites = profile.sectionWrites = profile.sectionsWrites = 0;
            EXPECT_EQ(WriteLogSections(p, sections, kLog), 0u);
            EXPECT_EQ(profile.sectionsWrites, c.calls.at(r));
            EXPECT_EQ(profile.sectionWrites, 0);
            EXPECT_EQ(profile.stringWrites, keyByKey);
        } else {
            for (const Section& section : report) {
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
            true}}},
         {1}},
        {"names with = ; [ and white space",
         1252,
         {{{L"UninstResult",
            {{L"  lead", L"0"}, {L"trail  ", L"1"}, {L"x;y", L"0"}, {L"x[y]", L"0"}, {L"]", L"2"}},
            true},
           {L"DelPrinterResult", {{L"a=b", L"0"}, {L"a", L"1"}}, false},
           {L"ScannerUninstResult", {{L";c", L"0"}, {L"d", L"  1  "}}, false},
           {L"UtilityUninstResult", {{L"[e]f", L"0"}, {L"g", L"0"}}, false},
           {L"PrinterInfo [x]", {{L"PortName", L"a=b;[c]"}}, true}}},
         {2}},
        {"names one key to the profile functions, empty, or with a line break",
         1252,
         {{{L"UninstResult", {{L"Name", L"0"}, {L"NAME ", L"1"}}, false},
           {L"DelPrinterResult", {{L"  ", L"0"}, {L"b", L"1"}}, false},
           {L"ScannerUninstResult", {{L"c\r\nd", L"0"}}, false},
           {L"UtilityUninstResult", {{L"e", L"1\n2"}}, false}}},
         {0}},
        {"the second write after the utilities",
         1252,
         {{{L"UninstResult", {{L"B", L"0"}, {L"A", L"0"}}, true},
           {L"DelPrinterResult", {{L"B (1)", L"0"}}, true}},
          {{L"uninstresult", {{L"a", L"5"}, {L"C", L"1"}, {L"B", L"0"}}, true},
           {L"DelPrinterResult", {{L"B (1)", L"0"}}, true},
           {L"UtilityUninstResult", {{L"Tool", L"0"}}, true}},
          {{L"UninstResult", {{L"C", L"2"}}, false}}},
         {1, 2, 0}},
        {"names the ANSI code page cannot hold",
         1252,
         {{{L"UninstResult", {{L"Plain", L"0"}}, true},
           {L"DelPrinterResult", {{L"Drucker \u65E5\u672C", L"0"}, {L"x=\u2603", L"1"}}, false},
           {L"PrinterInfo Drucker \u65E5\u672C", {{L"PortName", L"USB001"}}, true},
           {L"ScannerUninstResult", {{L"Caf\u00E9", L"0"}}, true}}},
         {2}},
        {"a value the ANSI code page cannot hold, in a Japanese code page",
         932,
         {{{L"UninstResult", {{L"\u65E5\u672C", L"0"}}, true},
           {L"PrinterInfo \u65E5\u672C", {{L"PortName", L"\u00E9"}}, true}}},
         {1}},
        {"a print server's report, a name the code page lacks among its printers",
         1252,
         {Joined(Joined({{L"UninstResult", {{L"Model A", L"0"}}, true}},
                        PrinterSettings(60, L"Model A")),
                 Joined(PrinterSettings(2, L"Drucker \u2603"), PrinterSettings(30, L"Model B")))},
         {1}},
        {"names one section to Windows but not told apart by A to Z",
         1252,
         {{{L"PrinterInfo \u00E9", {{L"PortName", L"a"}}, true},
           {L"PrinterInfo \u00C9", {{L"PortName", L"b"}, {L"Default", L"0"}}, true},
           {L"Last", {{L"k", L"v"}}, true}}},
         {2}},
        {"the end of a run that must restart, after the results",
         1252,
         {{{L"UninstResult", {{L"Model A", L"0"}, {L"Model B", L"0"}}, true}},
          {{L"UninstResult", {{L"Model A", L"-1"}, {L"Model B", L"-1"}}, true}},
          {{L"UninstResult", {{L"Model A", L"-1"}}, false}}},
         {1, 1, 0}},
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
