#include "removal/DriverDeletion.h"

#include "inventory/Enumeration.h"
#include "inventory/Records.h"

namespace norvane {
namespace {

constexpr std::uint32_t kRetryPauseMs = 1000;
constexpr std::uint32_t kRegistryValueBuffer = 4096;
// Ten minutes of retries per environment. A larger [Timeout] Second (2147483647 is 68 years) is
// a mistake in config.ini, not a wish to wait that long.
constexpr int kLongestRetryBudget = 600;

// Retries a deletion up to `retries` times, a second apart, until it succeeds.
template <typename Attempt>
platform::WinError Retry(platform::Clock& clock, int retries, platform::WinError error,
                         Attempt attempt) {
    for (int i = 0; i < retries && error != platform::win::kSuccess; ++i) {
        clock.Sleep(kRetryPauseMs);
        error = attempt();
    }
    return error;
}

// A driver that stays keeps working only with its print processor named in its key.
void RepairPrintProcessorValue(platform::Registry& registry, const CDriverData& driver) {
    if (!driver.PrintProcessor())
        return;
    const std::wstring key = kX64DriversKey + driver.DriverName();
    if (registry.OpenKey(platform::RootKey::LocalMachine, key, platform::RegAccess::AllAccess))
        return;
    platform::RegValue value;
    if (registry.QueryValue(platform::RootKey::LocalMachine, key, L"Print Processor",
                            kRegistryValueBuffer, value) != platform::win::kSuccess) {
        (void)registry.SetValue(platform::RootKey::LocalMachine, key, L"Print Processor",
                                platform::RegValue::String(*driver.PrintProcessor()));
    }
}

// The retry count of [Timeout] Second, at most the longest budget. Cutting it is said in the
// log, under the driver's section, so that a caller reading the log sees why the wait ended.
int RetryBudget(RunContext& context, const PackageConfig& config, const std::wstring& driver) {
    const std::wstring configured =
        config.Read(L"Timeout", L"Second", PackageConfig::kValueBuffer, L"10");
    const int retries = LeadingInteger(configured);
    if (retries <= kLongestRetryBudget)
        return retries;
    const std::wstring note = std::to_wstring(kLongestRetryBudget) +
                              L" seconds: [Timeout] Second=" + std::to_wstring(retries) +
                              L" is more than the longest wait";
    context.WriteLog(driver.c_str(), L"Timeout", note.c_str());
    return kLongestRetryBudget;
}

}  // namespace

int LeadingInteger(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - L'0'), 0x7FFFFFFF);
    return static_cast<int>(negative ? -value : value);
}

platform::WinError DeleteDriver(RunContext& context, const PackageConfig& config,
                                const CDriverData& driver) {
    platform::Platform& platform = context.P();
    platform::Spooler& spooler = platform.spooler;
    const std::wstring& name = driver.DriverName();
    auto deleteIn = [&](const wchar_t* environment) {
        return [&spooler, &name, environment] {
            return spooler.DeletePrinterDriver(environment, name, platform::kDeleteUnusedFiles);
        };
    };
    platform::WinError error = deleteIn(L"")();
    // Already gone (a removal cut off after it went, finished now): nothing to wait for, and its
    // 32-bit twin may still be there.
    if (error == platform::win::kUnknownPrinterDriver)
        error = platform::win::kSuccess;
    int retries = 0;
    if (error != platform::win::kSuccess) {
        retries = RetryBudget(context, config, name);
        error = Retry(platform.clock, retries, error, deleteIn(L""));
    }
    if (error != platform::win::kSuccess) {
        RepairPrintProcessorValue(platform.registry, driver);
        return error;
    }
    if (driver.HasX86Driver()) {
        const auto x86 = deleteIn(platform::kEnvironmentX86);
        Retry(platform.clock, retries, x86(),
              x86);  // a 32-bit twin that stays does not fail the removal
    }
    return platform::win::kSuccess;
}

}  // namespace norvane
