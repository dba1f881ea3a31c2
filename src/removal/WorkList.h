// The work a removal has decided on, written under the maker key before its first change and
// gone once it has done or put off every item: a run that is killed, or a machine that loses
// power, leaves the list, and the next run or the next start of Windows finishes it.
//
// Stored as one REG_MULTI_SZ value, one field a string, each string led by a letter that says
// which field it is: names hold any character but the null, and no string is ever empty (an
// empty one would end the value). A closing count tells a cut value from a whole one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "inventory/Package.h"
#include "platform/Platform.h"

namespace norvane {

// One driver that goes, with the names its leftovers are found by. A monitor or print processor
// is listed only when the maker's INF files install it.
struct WorkDriver {
    std::wstring name;
    std::wstring familyCode;  // its data folder's name
    std::wstring hardwareId;  // its spool subfolder's
    std::wstring monitor, monitorFile;
    std::wstring printProcessor;
    std::wstring infs;  // the maker's INF files that declare it, for the log

    bool operator==(const WorkDriver&) const = default;
};

struct WorkList {
    bool saveSettings = false;  // the printers' settings are saved before each goes
    std::vector<std::wstring> printers;
    std::vector<WorkDriver> drivers;
    // Drivers that did not fit the value's bound: they are not covered by the list.
    std::size_t leftOut = 0;
};

// What a stored list reads as: the items it holds whole, and what was wrong with the rest.
struct ReadWorkListResult {
    WorkList list;
    std::vector<std::wstring> problems;
};

// The value's strings for a list, at most kWorkListBound characters with their nulls; the
// drivers that do not fit are left out whole and counted.
std::vector<std::wstring> EncodeWorkList(WorkList& list);
ReadWorkListResult DecodeWorkList(const std::vector<std::wstring>& strings);

// A registry value of the standard format holds at most 1 MB.
inline constexpr std::size_t kWorkListBound = 512 * 1024;

// Registers the continuation and writes the list under the maker key, so that the next start
// finishes it. Nothing is written without a maker key.
void WriteWorkList(platform::Platform& platform, const Package& package, WorkList& list);
// The stored list, when there is one.
std::optional<ReadWorkListResult> ReadWorkList(platform::Platform& platform,
                                               const Package& package);
// Removes the list, then what ForgetRecords removes.
void ForgetWorkList(platform::Platform& platform, const Package& package);
// With no list and nothing put off until the restart: the continuation goes, and so do the keys
// the program made for its records. A run cut off after its list went leaves these behind.
// Only while the continuation is registered, or in the run after the restart (`restarted`).
void ForgetRecords(platform::Platform& platform, const Package& package, bool restarted);

}  // namespace norvane
