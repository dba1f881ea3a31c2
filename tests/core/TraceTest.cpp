// "/v": a trace of the run in the Configuration Manager log format. Read back by a reader of its
// own, every line is well formed, and the trace tells every change the run asked for with its
// outcome, as the machine's journal has them, without changing what the run does.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <regex>

#include <nlohmann/json.hpp>

#include "harness/DemoMachine.h"
#include "harness/JournalChanges.h"
#include "harness/TestMachine.h"
#include "platform/trace/TraceLine.h"
#include "restore/RestoreProgram.h"
#include "support/Text.h"

namespace norvane {
namespace {

using testing::TestMachine;

constexpr wchar_t kTrace[] = L"c:\\program files\\halvex\\norvane\\Norvane.trace.log";

// The calls a trace tells as changes, each ending in its outcome.
const std::set<std::string> kChangeCalls = {"DeletePrinterConnection",
                                            "DeletePrinter",
                                            "DeletePrinterDriverEx",
                                            "DeleteMonitor",
                                            "DeletePrintProcessor",
                                            "SetPrinter",
                                            "SetDefaultPrinter",
                                            "AddPrinter",
                                            "DeleteFile",
                                            "CreateDirectory",
                                            "RemoveDirectory",
                                            "WriteFile",
                                            "AppendFile",
                                            "SetFileAttributes",
                                            "MoveFile",
                                            "CreateProcess",
                                            "ShellExecute",
                                            "ExitWindowsEx",
                                            "RegCreateKey",
                                            "RegDeleteKey",
                                            "RegSetValue",
                                            "RegDeleteValue",
                                            "WritePrivateProfileString",
                                            "WritePrivateProfileSection"};

struct Trace {
    std::vector<std::string> texts;
    std::vector<int> types;
    // "<change> -> <code>", the system message left out, folded as the journal is compared.
    std::vector<std::wstring> changes;
};

// Reads a trace as a log viewer does, and fails the test on anything out of its format: the
// byte-order mark once at the start, every line whole with every field, types 1 to 3, and an
// outcome on every change (a failure's with its code and text, typed 3).
Trace ReadTrace(const std::string& bytes) {
    static const std::regex line(
        R"re(<!\[LOG\[(.*)\]LOG\]!><time="([01]\d|2[0-3]):[0-5]\d:[0-5]\d\.\d{3}[+-]\d{3}" )re"
        R"re(date="(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01])-\d{4}" component="Norvane" context="" )re"
        R"re(type="([123])" thread="\d+" file="">)re");
    static const std::regex outcome(R"((.*) -> (0|[1-9]\d*)(:.+)?)");
    Trace trace;
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.find("\xEF\xBB\xBF", 1), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    std::size_t at = 3;
    while (at < bytes.size()) {
        const auto end = bytes.find("\r\n", at);
        const std::string text = bytes.substr(at, end - at);
        at = end == std::string::npos ? bytes.size() : end + 2;
        std::smatch fields;
        if (!std::regex_match(text, fields, line)) {
            ADD_FAILURE() << "not a trace line: " << text;
            continue;
        }
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
        trace.texts.push_back(fields[1]);
        trace.types.push_back(std::stoi(fields[5]));
        if (!kChangeCalls.contains(trace.texts.back().substr(0, trace.texts.back().find(' '))))
            continue;
        std::smatch change;
        if (!std::regex_match(trace.texts.back(), change, outcome)) {
            ADD_FAILURE() << "a change without its outcome: " << trace.texts.back();
            continue;
        }
        const bool failed = change[2] != "0";
        EXPECT_EQ(trace.types.back(), failed ? 3 : 1) << trace.texts.back();
        EXPECT_EQ(change[3].matched, failed) << "a failure names its error's text";
        trace.changes.push_back(
            text::LowerAscii(text::FromUtf8(change[1].str() + " -> " + change[2].str())));
    }
    return trace;
}

// Names as Windows compares them: the journal spells them as stored, and a folder as the
// machine names it, without the "\\" the program may end it with.
std::vector<std::wstring> Folded(std::vector<std::wstring> list) {
    for (auto& entry : list) {
        entry = text::LowerAscii(entry);
        const auto arrow = entry.rfind(L" -> ");
        if (arrow != std::wstring::npos && arrow > 0 && entry[arrow - 1] == L'\\')
            entry.erase(arrow - 1, 1);
    }
    return list;
}

TEST(TraceLineTest, ATextStaysOnItsLineAndCannotEndItsFieldEarly) {
    const platform::LocalTime time{2026, 3, 2, 9, 5, 7, 42};
    const struct {
        std::wstring text;
        std::int32_t bias;
        std::string expected;
    } table[] = {
        {L"plain", 0, "plain]LOG]!><time=\"09:05:07.042+000\" date=\"03-02-2026\""},
        {L"two\r\nlines\nand\rmore", -60, "two lines and more]LOG]!><time=\"09:05:07.042-060\""},
        {L"a]LOG]!>b", 480, "a]LOG]!&gt;b]LOG]!><time=\"09:05:07.042+480\""},
        {L"\u00e9t\u00e9", 0, "\xC3\xA9t\xC3\xA9]LOG]!>"},
    };
    for (const auto& row : table) {
        const std::string line =
            trace::TraceLine(row.text, trace::LineType::Warning, time, row.bias, 7);
        EXPECT_EQ(line.rfind("<![LOG[" + row.expected, 0), 0u) << line;
        EXPECT_TRUE(line.ends_with("type=\"2\" thread=\"7\" file=\"\">\r\n")) << line;
        const Trace read = ReadTrace("\xEF\xBB\xBF" + line);
        EXPECT_EQ(read.texts.size(), 1u);
    }
}

struct Row {
    const char* why;
    std::wstring commandLine;  // "/v" is added
    const char* faults = "{}";
    std::vector<testing::Damage> damage = {};
};

void Make(TestMachine& m, const Row& row) {
    testing::CopyDemo(m);
    testing::PatchJson(m, std::string(R"({"faults": )") + row.faults + "}");
    testing::ApplyDamage(m, row.damage);
}

// Intact, damaged and faulty machines: the trace's changes are the journal's, refusals and all,
// and the same command line without "/v" makes the same changes with the same outcomes.
TEST(TraceTest, TheTraceTellsTheJournalsChangesWithTheirOutcomes) {
    std::vector<Row> table = {
        {"an intact machine", L"/s /x Corvida Model A"},
        {"drivers and printers by name, utilities too",
         L"/s /x Corvida Model A,Corvida Model B /u 1"},
        {"a file another program holds open", L"/s /x Corvida Model A",
         R"({"lockedFiles": ["C:\\ProgramData\\Corvida\\Drv\\CVMA\\CVMA_UI.ini"]})"},
        {"a driver the spooler holds until a restart", L"/s /x Corvida Model B",
         R"({"drivers": {"Windows x64|Corvida Model B": {"heldUntilReboot": true}}})"},
        {"a monitor the spooler will not let go", L"/s /x Corvida Model A",
         R"({"monitors": {"Corvida Model A LangMon": {"deleteError": 3008}}})"},
        {"nothing of the package", L"/s /e /d Nothing Of The Package"},
    };
    std::mt19937 random(20261210);
    for (const auto* command : {L"/s /x Corvida Model B", L"/s /p Corvida Model A /u 0",
                                L"/s /d Corvida Model A PS,Corvida Model B"}) {
        table.push_back({"damaged driver data", command, "{}", testing::RandomDamage(random)});
    }
    for (const Row& row : table) {
        SCOPED_TRACE(std::string(row.why) + ", " + text::ToUtf8(row.commandLine));
        TestMachine traced, plain;
        Make(traced, row);
        Make(plain, row);
        const auto run = traced.Run(L"/v " + row.commandLine);
        const auto untraced = plain.Run(row.commandLine);
        const Trace trace = ReadTrace(traced.ReadFile(kTrace));
        const auto journal = testing::JournalOutcomes(run.journal, run.logFile, kTrace);
        EXPECT_EQ(testing::Difference(Folded(trace.changes), Folded(journal)), "");
        // Without the trace, the same changes with the same outcomes from where it would start.
        const auto plainJournal =
            testing::JournalOutcomes(untraced.journal, untraced.logFile, kTrace);
        ASSERT_GE(plainJournal.size(), journal.size());
        EXPECT_EQ(journal, std::vector(plainJournal.end() - journal.size(), plainJournal.end()));
        EXPECT_EQ(run.exitCode, untraced.exitCode);
        ASSERT_GE(trace.texts.size(), 2u);
        EXPECT_TRUE(trace.texts.front().starts_with("Norvane 2.4.1.")) << trace.texts.front();
        EXPECT_TRUE(trace.texts.front().ends_with(" started: /v " + text::ToUtf8(row.commandLine)));
        EXPECT_EQ(trace.texts.back(),
                  "Norvane ended with exit code " + std::to_string(run.exitCode));
    }
}

// With "/n" the trace stands over the preview: it tells what the preview recorded, and a second
// run appends to the same file.
TEST(TraceTest, APreviewsTraceTellsWhatThePreviewRecordedAndRunsShareTheFile) {
    TestMachine m;
    testing::CopyDemo(m);
    const auto preview = m.Run(L"/s /n /v /x Corvida Model A");
    std::vector<std::wstring> listed;
    for (int n = 1;; ++n) {
        const std::wstring entry = m.Ini(preview.logFile, L"Preview", std::to_wstring(n).c_str());
        if (entry == L"<missing>")
            break;
        listed.push_back(text::LowerAscii(entry) + L" -> 0");
    }
    const Trace first = ReadTrace(m.ReadFile(kTrace));
    std::vector<std::wstring> done;
    std::copy_if(first.changes.begin(), first.changes.end(), std::back_inserter(done),
                 [](const std::wstring& change) { return change.ends_with(L" -> 0"); });
    EXPECT_EQ(done, listed);
    ASSERT_GT(listed.size(), 6u);

    const std::string firstBytes = m.ReadFile(kTrace);
    const auto run = m.Run(L"/s /v /x Corvida Model A");
    const std::string bothBytes = m.ReadFile(kTrace);
    EXPECT_TRUE(bothBytes.starts_with(firstBytes));
    const Trace both = ReadTrace(bothBytes);
    EXPECT_EQ(std::count_if(both.texts.begin(), both.texts.end(),
                            [](const std::string& t) { return t.find(" started: ") != t.npos; }),
              2);
    EXPECT_EQ(both.texts.back(), "Norvane ended with exit code " + std::to_string(run.exitCode));
}

// A trace that cannot be written is told once, on standard error and in the log, and the run
// goes on as it would have without "/v".
TEST(TraceTest, ATraceThatCannotBeWrittenIsToldOnceAndTheRunGoesOn) {
    TestMachine traced, plain;
    testing::CopyDemo(traced);
    testing::CopyDemo(plain);
    ::testing::internal::CaptureStderr();
    const auto run = traced.Run(L"/s /v C:\\No Such Folder\\t.log /x Corvida Model A");
    const std::string told = ::testing::internal::GetCapturedStderr();
    const auto untraced = plain.Run(L"/s /x Corvida Model A");
    EXPECT_EQ(told,
              "Norvane: the trace C:\\No Such Folder\\t.log cannot be written (3:The system cannot "
              "find the path specified.); the run goes on without it\n");
    EXPECT_EQ(traced.Ini(run.logFile, L"Application", L"Trace"),
              L"C:\\No Such Folder\\t.log cannot be written (3:The system cannot find the path "
              L"specified.); the run goes on without it");
    EXPECT_EQ(testing::JournalChanges(run.journal, run.logFile),
              testing::JournalChanges(untraced.journal, untraced.logFile));
    for (const wchar_t* key : {L"Corvida Model A", L"Corvida Model A PS"})
        EXPECT_EQ(traced.Ini(run.logFile, L"UninstResult", key),
                  plain.Ini(untraced.logFile, L"UninstResult", key));
    EXPECT_EQ(run.exitCode, untraced.exitCode);
}

// The restore program takes the same switch: its printers added, each with its outcome.
TEST(TraceTest, TheRestoreProgramTracesItsRunToo) {
    TestMachine m;
    testing::CopyDemo(m);
    m.Run(L"/s /p Corvida Model A");
    auto machine = m.Load();
    std::vector<std::wstring> lines, errors;
    const int code =
        restore::RunRestore(machine->Platform(), {L"/v", L"restore.log"}, lines, errors);
    ASSERT_FALSE(machine->Save());
    const Trace trace = ReadTrace(m.ReadFile(L"c:\\program files\\halvex\\norvane\\restore.log"));
    ASSERT_GE(trace.texts.size(), 2u);
    EXPECT_TRUE(trace.texts.front().ends_with(" started: /v restore.log")) << trace.texts.front();
    EXPECT_EQ(trace.texts.back(), "NorvaneRestore ended with exit code " + std::to_string(code));
    EXPECT_EQ(std::count_if(trace.changes.begin(), trace.changes.end(),
                            [](const std::wstring& c) { return c.starts_with(L"addprinter "); }),
              1)
        << testing::Difference(trace.changes, {});
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace norvane
