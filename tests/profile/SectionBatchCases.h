// Sections written together (Profile::WriteSections) against the same sections written one
// WritePrivateProfileSectionW each: the file must end byte for byte the same, and the profile
// functions must read it as they read the other. Plain data and a runner that needs only the
// standard library, so that the same cases run against the simulated engine on Linux and against
// the Win32 backend over kernel32 in a Windows build.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Profile.h"
#include "profile/ProfileCases.h"

namespace norvane::profile_cases {

struct SectionBatchCase {
    const char* name;
    std::optional<std::string> before;  // none: no file
    std::vector<platform::ProfileSection> sections;
};

// A report's printer settings: `count` sections of five keys, one value of each empty.
inline std::vector<platform::ProfileSection> PrinterSections(int count, const std::wstring& stem) {
    std::vector<platform::ProfileSection> sections;
    for (int i = 1; i <= count; ++i) {
        const std::wstring printer = stem + L" (" + std::to_wstring(i) + L")";
        sections.push_back(
            {L"PrinterInfo " + printer, L"PortName=USB00" + std::to_wstring(i % 10) + L'\0' +
                                            L"DriverName=" + stem + L'\0' + L"ShareName=" + L'\0' +
                                            L"Default=" + (i == 1 ? L"1" : L"0") + L'\0' +
                                            L"DEVMODE=" + printer + L".bin" + L'\0'});
    }
    return sections;
}

inline std::vector<platform::ProfileSection> Joined(
    std::vector<platform::ProfileSection> first,
    const std::vector<platform::ProfileSection>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

inline const std::string kLogHead = Bytes(
    "[Date]\r\nLogDate=2026/01/02\r\nLogTime=10:00:00\r\n[Application]\r\nName=Halvex\r\n"
    "[UninstResult]\r\nModel A=0\r\n");

inline std::vector<SectionBatchCase> SectionBatchCases() {
    return {
        {"LogReport", kLogHead,
         Joined({{L"UninstResult", W(L"Model A=0\0Model B=1\0")},
                 {L"DelPrinterResult", W(L"Office=0\0Lobby=1\0")}},
                PrinterSections(40, L"Corvida Model A"))},
        {"SecondReportAfterTheUtilities",
         kLogHead +
             Bytes("[DelPrinterResult]\r\nOffice=0\r\n[PrinterInfo Office]\r\nDefault=1\r\n"),
         Joined(
             {{L"UninstResult", W(L"Model A=0\0")}, {L"DelPrinterResult", W(L"Office=0\0")}},
             Joined(PrinterSections(3, L"Model"), {{L"UtilityUninstResult", W(L"Tool=0\0")},
                                                   {L"PrinterInfo Office", W(L"Default=1\0")}}))},
        {"FileTheWriterTidies",
         Bytes("; Norvane.log\r\n\r\n  [Date]  \r\n LogDate = x \r\n\r\n[Empty]\r\n"),
         PrinterSections(5, L"Model B")},
        {"UnicodeFile", Utf16File(L"[Date]\r\nLogDate=1\r\n"),
         Joined(PrinterSections(3, L"Drucker B\u00FCro \u2603 \u65E5\u672C"),
                {{L"DelPrinterResult", W(L"Drucker B\u00FCro \u2603 \u65E5\u672C (1)=0\0")}})},
        {"AnsiFileWithoutTheCharacters", kLogHead,
         Joined(PrinterSections(2, L"Plain"),
                Joined(PrinterSections(2, L"Snow \u2603"), PrinterSections(2, L"Caf\u00E9")))},
        {"NoFile", std::nullopt, PrinterSections(4, L"Model C")},
        {"EmptyFile", Bytes(""), PrinterSections(4, L"Model D")},
        {"Utf8File", Bytes("\xEF\xBB\xBF[A]\r\nk=v\r\n"), PrinterSections(3, L"Model E")},
        {"NamesTheWriterReadsOtherwise",
         kLogHead,
         {{L"First", W(L"a=1\0")},
          {L"Trailing ", W(L"a=1\0b=2\0")},
          {L"  Leading", W(L"a=1\0")},
          {L"Keys", W(L"  spaced = 1 \0no equals\0=empty name\0[x]=1\0;c=2\0v=a=b;[c]\0")},
          {L"Empty list", W(L"")},
          {L"Dup", W(L"a=1\0")},
          {L"DUP", W(L"b=2\0")},
          {L"uninstresult", W(L"Model C=0\0")},
          {L"PrinterInfo [x]", W(L"PortName=a\0")},
          {L"PrinterInfo \u00E9", W(L"PortName=b\0")},
          {L"PrinterInfo \u00C9", W(L"PortName=c\0")},
          {L"Last", W(L"a=1\0")}}},
    };
}

// Runs the case's sections into two copies of its file, one call each with `writeOne` and
// together with `writeAll`, then one more string write into each with `writeString`; answers how
// the files or the results differ, nothing when they agree.
template <typename WriteOne, typename WriteAll, typename WriteString>
std::vector<std::string> RunSectionBatchCase(const SectionBatchCase& c,
                                             const std::filesystem::path& folder, WriteOne writeOne,
                                             WriteAll writeAll, WriteString writeString) {
    namespace fs = std::filesystem;
    const fs::path one = folder / (std::string(c.name) + "-one.ini");
    const fs::path all = folder / (std::string(c.name) + "-all.ini");
    std::error_code ec;
    for (const fs::path& file : {one, all}) {
        fs::remove(file, ec);
        if (c.before) {
            std::ofstream(file, std::ios::binary)
                .write(c.before->data(), static_cast<std::streamsize>(c.before->size()));
        }
    }
    std::uint32_t oneResult = 0;
    for (const platform::ProfileSection& section : c.sections) {
        const std::uint32_t error =
            writeOne(section.name.c_str(), section.keysAndValues.c_str(), one);
        if (error && !oneResult)
            oneResult = error;
    }
    const std::uint32_t allResult = writeAll(c.sections, all);

    std::vector<std::string> mismatches;
    if (allResult != oneResult) {
        mismatches.push_back("returned " + std::to_string(allResult) + ", one by one " +
                             std::to_string(oneResult));
    }
    const auto compare = [&](const char* when) {
        const std::optional<std::string> expected = ReadBytes(one), actual = ReadBytes(all);
        if (actual != expected) {
            mismatches.push_back(std::string(when) + ": file " + ShowBytes(actual) +
                                 ", one by one " + ShowBytes(expected));
        }
    };
    compare("after the sections");
    // A write after them starts from what the profile functions read back.
    writeString(L"Later", L"k", L"v", one);
    writeString(L"Later", L"k", L"v", all);
    compare("after a later write");
    fs::remove(one, ec);
    fs::remove(all, ec);
    return mismatches;
}

}  // namespace norvane::profile_cases
