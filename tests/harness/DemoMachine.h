// Copies of the demo machine, and the damage a careless package or a broken install does to its
// driver data, for tests that run the program over many such machines.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "harness/TestMachine.h"

namespace norvane::testing {

inline constexpr wchar_t kDemoDriversKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows "
    L"x64\\Drivers\\Version-3\\";
inline constexpr wchar_t kDemoMonitorKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Corvida Model A "
    L"LangMon";

// A copy of the demo machine, the driver "Corvida Model B PS" renamed when `driverName` differs.
void CopyDemo(TestMachine& m, const std::string& driverName = "Corvida Model B PS");
// Changes machine.json values of a machine's copy (faults, programs, the administrator's token)
// by a JSON merge patch: a null removes a value.
void PatchJson(TestMachine& m, const std::string& patch);

struct Damage {
    std::wstring key, value, data;
};

// Sets each damaged value in the machine's registry.
void ApplyDamage(TestMachine& m, const std::vector<Damage>& damage);

// Random damage to every kind of driver data the cleanup builds paths from: hardware IDs,
// configuration files and print processors of the demo's drivers, and its monitor's file.
std::vector<Damage> RandomDamage(std::mt19937& random);

}  // namespace norvane::testing
