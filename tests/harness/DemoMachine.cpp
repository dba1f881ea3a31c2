#include "harness/DemoMachine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

namespace norvane::testing {

namespace fs = std::filesystem;

void PatchJson(TestMachine& m, const std::string& patch) {
    nlohmann::json config;
    std::ifstream(m.Folder() / "machine.json") >> config;
    config.merge_patch(nlohmann::json::parse(patch));
    m.SetJson(config.dump(2));
}

void CopyDemo(TestMachine& m, const std::string& driverName) {
    m.CopyFrom(fs::path(NORVANE_SOURCE_DIR) / "examples" / "machines" / "demo");
    for (const char* file : {"registry.reg", "drive_c/Program Files/Halvex/Norvane/config.ini"}) {
        std::string content;
        {
            std::ifstream in(m.Folder() / file, std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), {});
        }
        for (std::size_t at = 0; (at = content.find("Corvida Model B PS", at)) != std::string::npos;
             at += driverName.size()) {
            content.replace(at, 18, driverName);
        }
        std::ofstream(m.Folder() / file, std::ios::binary) << content;
    }
}

void ApplyDamage(TestMachine& m, const std::vector<Damage>& damage) {
    auto machine = m.Load();
    for (const Damage& d : damage) {
        sim::RegKey* key = machine->Registry().Find(d.key);
        ASSERT_NE(key, nullptr) << d.key;
        key->SetValue(d.value, platform::RegValue::String(d.data));
    }
    EXPECT_FALSE(machine->Save());
}

std::vector<Damage> RandomDamage(std::mt19937& random) {
    // Separators, dots and blanks Windows drops, devices, streams, prefixes, and names of places
    // that are Windows' own or another driver's.
    static const std::vector<std::wstring> junk = {
        L"",          L".",       L"..",   L"...",     L" ",     L". .",         L"C:",
        L"3",         L"4",       L"a*",   L"x/y",     L"Temp",  L"\t",          L"3.",
        L"3 ",        L"PCC.",    L"CON",  L"nul.txt", L"a:b",   L"\\\\?\\C:",   L"C:/Windows",
        L"Microsoft", L"Corvida", L"Drv.", L"CVMA",    L"CVMA.", L"localspl.dll"};
    static const std::vector<std::wstring> drivers = {L"Corvida Model A", L"Corvida Model A PS",
                                                      L"Corvida Model A Fax", L"Corvida Model B"};
    auto pick = [&](const auto& list) { return list[random() % list.size()]; };
    auto junkPath = [&] {
        std::wstring path;
        for (int parts = 1 + random() % 5; parts > 0; --parts)
            path += pick(junk) + (parts > 1 ? L"\\" : L"");
        return path;
    };
    std::vector<Damage> damage;
    for (const std::wstring& driver : drivers) {
        const std::wstring key = kDemoDriversKey + driver;
        if (random() % 2)
            damage.push_back(
                {key, L"HardwareID",
                 pick(std::vector<std::wstring>{L"USBPRINT\\", L"WSDPRINT\\", L""}) + junkPath()});
        if (random() % 3 == 0)
            damage.push_back({key, L"Configuration File", junkPath() + L"_UI.DLL"});
        if (random() % 3 == 0)
            damage.push_back({key, L"Print Processor", junkPath()});
    }
    if (random() % 2)
        damage.push_back({kDemoMonitorKey, L"Driver", junkPath()});
    return damage;
}

}  // namespace norvane::testing
