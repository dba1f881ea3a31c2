#include "removal/WorkList.h"

#include "removal/PutOff.h"
#include "support/Text.h"

namespace norvane {
namespace {

namespace win = platform::win;
using platform::RootKey;

// The first string: which program wrote the list, and in which format.
constexpr wchar_t kHeader[] = L"Norvane work list 1";

// The letters that lead each field.
enum Tag : wchar_t {
    kSaveSettings = L'S',
    kPrinter = L'R',
    kDriver = L'D',
    kFamilyCode = L'F',
    kHardwareId = L'H',
    kMonitor = L'M',
    kMonitorFile = L'm',
    kPrintProcessor = L'P',
    kInfs = L'I',
    kEnd = L'Z',
};

void Field(std::vector<std::wstring>& out, Tag tag, const std::wstring& value) {
    if (!value.empty())
        out.push_back(static_cast<wchar_t>(tag) + value);
}

std::size_t Characters(const std::vector<std::wstring>& strings) {
    std::size_t total = 1;  // the empty string that ends the value
    for (const auto& item : strings)
        total += item.size() + 1;
    return total;
}

}  // namespace

std::vector<std::wstring> EncodeWorkList(WorkList& list) {
    std::vector<std::wstring> out{kHeader, list.saveSettings ? L"S1" : L"S0"};
    for (const auto& printer : list.printers)
        Field(out, kPrinter, printer);
    constexpr std::size_t kEndRoom = 24;
    std::size_t used = Characters(out) + kEndRoom;
    list.leftOut = 0;
    for (const auto& driver : list.drivers) {
        std::vector<std::wstring> record;
        Field(record, kDriver, driver.name);
        Field(record, kFamilyCode, driver.familyCode);
        Field(record, kHardwareId, driver.hardwareId);
        Field(record, kMonitor, driver.monitor);
        Field(record, kMonitorFile, driver.monitorFile);
        Field(record, kPrintProcessor, driver.printProcessor);
        Field(record, kInfs, driver.infs);
        const std::size_t size = Characters(record) - 1;
        if (driver.name.empty() || used + size > kWorkListBound) {
            ++list.leftOut;
            continue;
        }
        used += size;
        out.insert(out.end(), record.begin(), record.end());
    }
    out.push_back(L"Z" + std::to_wstring(out.size()));
    return out;
}

ReadWorkListResult DecodeWorkList(const std::vector<std::wstring>& strings) {
    ReadWorkListResult result;
    std::vector<std::wstring>& problems = result.problems;
    if (strings.empty()) {
        problems.push_back(L"empty");
        return result;
    }
    if (strings.front() != kHeader) {
        problems.push_back(L"not a list this version reads: \"" + strings.front() + L"\"");
        return result;
    }
    // A value cut short may end inside a name, which would then name another driver: without
    // its closing count, the last driver is not believed.
    const bool whole =
        strings.back() == static_cast<wchar_t>(kEnd) + std::to_wstring(strings.size() - 1);
    const std::size_t end = whole ? strings.size() - 1 : strings.size();
    WorkList& list = result.list;
    for (std::size_t i = 1; i < end; ++i) {
        const std::wstring& item = strings[i];
        if (item.empty())
            continue;  // a registry value holds none: only a caller's list could
        const std::wstring value = item.substr(1);
        WorkDriver* driver = list.drivers.empty() ? nullptr : &list.drivers.back();
        switch (item[0]) {
            case kSaveSettings:
                list.saveSettings = value == L"1";
                break;
            case kPrinter:
                list.printers.push_back(value);
                break;
            case kDriver:
                list.drivers.emplace_back().name = value;
                break;
            case kFamilyCode:
            case kHardwareId:
            case kMonitor:
            case kMonitorFile:
            case kPrintProcessor:
            case kInfs:
                if (!driver) {
                    problems.push_back(L"a field before any driver: \"" + item + L"\"");
                    break;
                }
                (item[0] == kFamilyCode       ? driver->familyCode
                 : item[0] == kHardwareId     ? driver->hardwareId
                 : item[0] == kMonitor        ? driver->monitor
                 : item[0] == kMonitorFile    ? driver->monitorFile
                 : item[0] == kPrintProcessor ? driver->printProcessor
                                              : driver->infs) = value;
                break;
            default:
                problems.push_back(L"an entry this version does not know: \"" + item + L"\"");
        }
    }
    if (!whole) {
        // Its last string may be cut, and a cut name or family code names another item.
        problems.push_back(L"cut short");
        const bool printer = strings.back().starts_with(static_cast<wchar_t>(kPrinter));
        if (printer && !list.printers.empty()) {
            problems.push_back(L"the last printer, \"" + list.printers.back() +
                               L"\", is left alone: its name may be cut");
            list.printers.pop_back();
        } else if (!printer && !list.drivers.empty()) {
            problems.push_back(L"the last driver, \"" + list.drivers.back().name +
                               L"\", is left alone: its entry may be cut");
            list.drivers.pop_back();
        }
    }
    return result;
}

void WriteWorkList(platform::Platform& platform, const Package& package, WorkList& list) {
    // The continuation first: a cut after it finds no list and finishes nothing, as nothing has
    // been removed yet; a list without it would wait for a run no one may start.
    RegisterRunOnce(platform);
    if (!MakeKey(platform.registry, package.m_strOemRegPath))
        return;
    (void)platform.registry.SetValue(RootKey::LocalMachine, package.m_strOemRegPath, kWorkListValue,
                                     platform::RegValue::MultiString(EncodeWorkList(list)));
}

std::optional<ReadWorkListResult> ReadWorkList(platform::Platform& platform,
                                               const Package& package) {
    platform::RegValue value;
    if (package.m_strOemRegPath.empty() ||
        platform.registry.QueryValueOfAnySize(RootKey::LocalMachine, package.m_strOemRegPath,
                                              kWorkListValue, value) != win::kSuccess)
        return std::nullopt;
    if (value.type != platform::RegType::MultiSz)
        return ReadWorkListResult{{}, {L"not a list of strings"}};
    return DecodeWorkList(value.AsMultiString());
}

void ForgetWorkList(platform::Platform& platform, const Package& package) {
    if (!package.m_strOemRegPath.empty()) {
        (void)platform.registry.DeleteValue(RootKey::LocalMachine, package.m_strOemRegPath,
                                            kWorkListValue);
    }
    ForgetRecords(platform, package, true);
}

void ForgetRecords(platform::Platform& platform, const Package& package, bool restarted) {
    // The continuation goes last, so without it there is nothing left to tidy: a run that ended
    // asks nothing more of the registry. Windows takes the value before it starts the run after
    // the restart, which therefore always looks.
    platform::RegValue continuation;
    if ((!restarted &&
         platform.registry.QueryValueOfAnySize(RootKey::LocalMachine, kRunOnceKey, kRunOnceValue,
                                               continuation) != win::kSuccess) ||
        AnyPutOff(platform, package) || ReadWorkList(platform, package))
        return;
    // The continuation goes last: a run cut off before it leaves one that tidies up, never
    // records that nothing removes.
    ForgetPutOff(platform, package);
    (void)platform.registry.DeleteValue(RootKey::LocalMachine, kRunOnceKey, kRunOnceValue);
}

}  // namespace norvane
