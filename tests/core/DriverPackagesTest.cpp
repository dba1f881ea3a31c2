// Which driver package a check matches: the maker's package that declares the driver, of several
// the newest, read again once it has been removed; and what a removal takes of the packages, print
// processors and monitors that are not the maker's.
#include <gtest/gtest.h>

#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"
#include "removal/DriverPackages.h"
#include "support/Text.h"

namespace norvane {
namespace {

using namespace testing;

TEST(DriverPackagesTest, TheLastPackageDeclaringTheDriverUntilItIsRemoved) {
    TestMachine m;
    PrintSetup(m)
        .Package(1, {"Model A", "Model B"})
        .Package(2, {"Model B"})
        .Package(3, {"Model C"})
        .Package(4, {"Model B", "Model C"})
        .Install(ConfigIni({"Model A", "Model B", "Model C"}, {}, ""));
    auto machine = m.Load();
    platform::Platform& run = machine->Platform();
    DriverPackages packages(run);
    ASSERT_EQ(packages.Packages().size(), 4u);

    struct Step {
        const wchar_t* driver;
        const wchar_t* matched;  // null: no package declares it
        bool remove;
    };
    const Step steps[] = {
        {L"Model C", L"oem4.inf", false},  // the last of two
        {L"model b", L"oem4.inf", true},   // without regard to case; removed
        {L"Model B", L"oem2.inf", false},  // the removed package declares nothing now
        {L"Model C", L"oem3.inf", true},  {L"Model C", nullptr, false},
        {L"Model A", L"oem1.inf", false}, {L"Model Z", nullptr, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(text::ToUtf8(step.driver));
        EXPECT_EQ(packages.Check(run, step.driver, L"corvida"), step.matched ? 1 : 0);
        if (step.matched) {
            EXPECT_EQ(packages.MatchedInf(), step.matched);
        }
        if (step.remove) {
            EXPECT_EQ(packages.Remove(run), 0);
        }
    }
}

// The maker's package that installs the monitor and the print processor of "Model A".
const TestPackage kOurs = {.languageMonitor = "Model A LangMon,cvlangmon.dll",
                           .printProcessor = "CVAPP,CVAPP.DLL"};

struct Package {
    int number;
    TestPackage inf;
};

constexpr wchar_t kInf[] = L"C:\\Windows\\inf\\";
constexpr wchar_t kOtherpp[] = L"C:\\Windows\\system32\\spool\\prtprocs\\x64\\otherpp.DLL";
constexpr wchar_t kCvapp[] = L"C:\\Windows\\system32\\spool\\prtprocs\\x64\\CVAPP.DLL";
constexpr wchar_t kLangmon[] = L"C:\\Windows\\system32\\cvlangmon.dll";

// A removal of "Model A" (its monitor "Model A LangMon", the row's print processor, the printer
// Office) beside the row's INF files: what stays, what goes and what the log says of it.
TEST(DriverPackagesTest, OnlyTheMakersPackagesAndComponentsGo) {
    struct Row {
        const char* name;
        std::vector<Package> packages;
        std::vector<std::pair<int, std::string>> written;  // INF files as they stand
        std::string printProcessor;                        // the driver's and the printer's
        std::vector<std::wstring> stay, gone;
        std::vector<std::pair<const wchar_t*, std::wstring>> log;  // keys of [Model A]
    };
    const std::string foreignModelA =
        "[Version]\r\nProvider=%LM%\r\n[Manufacturer]\r\n%LM%=Lumetra,NTamd64\r\n"
        "[Lumetra.NTamd64]\r\n\"Model A\"=LP,USBPRINT\\Lumetra\r\n"
        "[Strings]\r\nLM=\"Lumetra Imaging\"\r\n";
    const std::wstring notLumetra =
        L"oem7.inf: kept, its provider \"Lumetra Imaging\" is not Corvida";
    const Row rows[] = {
        {"a foreign INF declaring the model",
         {},
         {{7, foreignModelA}},
         "CVAPP",
         {std::wstring(kInf) + L"oem7.inf", kCvapp, kLangmon},
         {},
         {{L"Package", notLumetra},
          {L"PrintProcessor", L"CVAPP: kept, no INF file of Corvida declares the driver"},
          {L"Monitor", L"Model A LangMon: kept, no INF file of Corvida declares the driver"},
          {L"F1", L"<missing>"}}},
        {"a foreign INF and the maker's",
         {{12, kOurs}},
         {{7, foreignModelA}},
         "CVAPP",
         {std::wstring(kInf) + L"oem7.inf"},
         {std::wstring(kInf) + L"oem12.inf", kCvapp, kLangmon},
         {{L"Package", notLumetra}, {L"PrintProcessor", L"<missing>"}}},
        {"a provider token [Strings] lacks is no maker",
         {},
         {{12,
           "[Version]\r\nProvider=%CV%\r\n[Manufacturer]\r\n%CV%=Corvida,NTamd64\r\n"
           "[Corvida.NTamd64]\r\n\"Model A\"=Install\r\n"}},
         "CVAPP",
         {std::wstring(kInf) + L"oem12.inf", kCvapp},
         {},
         {{L"Package", L"oem12.inf: kept, its provider \"%CV%\" is not Corvida"}}},
        {"tokens, comments, quotes and a versioned decoration as Windows reads them",
         {},
         {{12,
           "[Version]\r\nProvider = %CV% ; the maker\r\n[Manufacturer]\r\n"
           "%CV% = Corvida, NTx86, NTamd64.10.0...14393\r\n"
           "[Corvida.NTx86]\r\n\"Model B\"=Install\r\n"
           "[Corvida.NTamd64.10.0...14393]\r\n%MODEL% = Install, USBPRINT\\Corvida\r\n"
           "[Install.NTamd64]\r\nLanguageMonitor=%LANGMON%,cvlangmon.dll\r\n"
           "PrintProcessor=%PP%\r\n"
           "[Strings]\r\ncv=\"CORVIDA\"\r\nMODEL=\"Model A\"\r\n"
           "LANGMON=\"Model A LangMon\"\r\nPP=\"CVAPP,CVAPP.DLL\"\r\n"}},
         "CVAPP",
         {},
         {std::wstring(kInf) + L"oem12.inf", kCvapp, kLangmon},
         {{L"Package", L"<missing>"}}},
        {"models only for 32-bit Windows",
         {},
         {{12,
           "[Version]\r\nProvider=Corvida\r\n[Manufacturer]\r\nCorvida=Corvida,NTx86\r\n"
           "[Corvida.NTx86]\r\n\"Model A\"=Install\r\n"}},
         "CVAPP",
         {std::wstring(kInf) + L"oem12.inf", kCvapp},
         {},
         {{L"Package", L"<missing>"}}},
        {"the newest DriverVer date of two, not the higher number",
         {{12, {.driverVer = "11/14/2025,2.4.1.0", .languageMonitor = "Model A LangMon"}},
          {30, {.driverVer = "05/02/2024,9.0.0.0", .printProcessor = "CVAPP,CVAPP.DLL"}}},
         {},
         "CVAPP",
         {std::wstring(kInf) + L"oem30.inf"},
         {std::wstring(kInf) + L"oem12.inf", kCvapp, kLangmon},
         {{L"Package", L"<missing>"}}},
        {"one date: the higher version",
         {{12, {.driverVer = "11/14/2025,2.10.0.0"}}, {30, {.driverVer = "11/14/2025,2.9.0.0"}}},
         {},
         "CVAPP",
         {std::wstring(kInf) + L"oem30.inf"},
         {std::wstring(kInf) + L"oem12.inf"},
         {}},
        {"one date and version: the higher oem number",
         {{30, {.driverVer = "11/14/2025,2.4.1.0"}}, {4, {.driverVer = "11/14/2025,2.4.1.0"}}},
         {},
         "CVAPP",
         {std::wstring(kInf) + L"oem4.inf"},
         {std::wstring(kInf) + L"oem30.inf"},
         {}},
        {"another maker's print processor that the maker's INF does not install",
         {{12, kOurs}},
         {},
         "otherpp",
         {kOtherpp, L"C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\otherpp.DLL"},
         {std::wstring(kInf) + L"oem12.inf", kLangmon},
         {{L"PrintProcessor", L"otherpp: kept, not installed by oem12.inf"},
          {L"F1", L"<missing>"}}},
        {"a print processor the maker's INF only copies",
         {{12, {.files = {"OTHERPP.DLL", "cvlangmon.dll"}}}},
         {},
         "otherpp",
         {},
         {kOtherpp, kLangmon},
         {{L"PrintProcessor", L"<missing>"}, {L"Monitor", L"<missing>"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestMachine m;
        PrintSetup setup(m);
        setup
            .Driver({"Model A",
                     "Corvida",
                     "Windows x64",
                     "CVMA_UI.DLL",
                     {"CVMA.DLL"},
                     "Model A LangMon",
                     row.printProcessor,
                     "USBPRINT\\Corvida-Model_A"})
            .Printer("Office", "Model A", "USB001", row.printProcessor)
            .Monitor("Model A LangMon", "cvlangmon.dll")
            .PrintProcessor("CVAPP")
            .PrintProcessor("otherpp");
        for (const Package& package : row.packages)
            setup.Package(package.number, {"Model A"}, package.inf);
        for (const auto& [number, inf] : row.written)
            m.WriteFile(std::wstring(kInf) + L"oem" + std::to_wstring(number) + L".inf", inf);
        setup.Install(ConfigIni({"Model A"}));
        m.Run(L"/s /d Model A");

        EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"0");
        for (const auto& path : row.stay)
            EXPECT_TRUE(m.Exists(path)) << text::ToUtf8(path);
        for (const auto& path : row.gone)
            EXPECT_FALSE(m.Exists(path)) << text::ToUtf8(path);
        for (const auto& [key, value] : row.log)
            EXPECT_EQ(m.Ini(kLogFile, L"Model A", key), value) << text::ToUtf8(key);
    }
}

}  // namespace
}  // namespace norvane
