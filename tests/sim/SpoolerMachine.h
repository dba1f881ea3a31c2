// Pieces of registry.reg for the spooler's keys, and a machine's journal without its stamps, for
// the tests of the simulated spooler, faults and restart.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "harness/PrintSetup.h"
#include "platform/sim/Machine.h"

namespace norvane::sim::test {

inline const std::string kPrint = testing::kPrintKey;

// A key with its value lines: Key(kPrint + "\\Printers\\Office", {"\"Port\"=\"USB001\""}).
inline std::string Key(const std::string& path, std::initializer_list<std::string> values = {}) {
    std::string out = "[" + path + "]\r\n";
    for (const auto& value : values)
        out += value + "\r\n";
    return out + "\r\n";
}

inline std::string Printer(const std::string& name, const std::string& driver,
                           const std::string& port = "USB001") {
    return Key(kPrint + "\\Printers\\" + name,
               {"\"Printer Driver\"=\"" + driver + "\"", "\"Port\"=\"" + port + "\""});
}

inline std::string Driver(const std::string& environment, const std::string& name,
                          std::initializer_list<std::string> values = {}) {
    return Key(kPrint + "\\Environments\\" + environment + "\\Drivers\\Version-3\\" + name, values);
}

inline std::string DefaultPrinter(const std::string& device) {
    return Key("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
               {"\"Device\"=\"" + device + "\""});
}

// This run's journal entries without their time stamps.
inline std::vector<std::wstring> JournalOf(Machine& machine) {
    std::vector<std::wstring> entries;
    for (const auto& entry : machine.JournalLog().Entries())
        entries.push_back(testing::WithoutStamp(entry));
    return entries;
}

}  // namespace norvane::sim::test
