// What stays on the machine after a removal, read from the spooler and the registry once per run:
// the files, folders, monitors and print processors that the removal must leave.
#pragma once

#include <string>
#include <unordered_set>

#include "platform/Platform.h"
#include "removal/LeftoverPaths.h"
#include "removal/Ownership.h"

namespace norvane {

// What this run removes, by name (letter case folded A to Z, as the spooler compares names).
struct Removing {
    std::unordered_set<std::wstring> drivers, printers, monitors, printProcessors;

    static std::wstring Key(const std::wstring& name);
    bool Has(const std::unordered_set<std::wstring>& names, const std::wstring& name) const {
        return names.contains(Key(name));
    }
};

// Every driver of either environment, printer, monitor and print processor that `removing` does
// not name stays, and so does what it names. Linear in what the machine holds.
KeptThings WhatStays(platform::Platform& platform, const Places& places, const Removing& removing);

}  // namespace norvane
