// Times GetPrivateProfileStringW over a config.ini of a large package: the simulated engine in the
// Linux build, kernel32 in the Windows build, so that the two can be set side by side. It prints
// numbers and never judges them.
//
// The simulated engine trusts its parsed copy of a file only once the file's time is more than two
// seconds old; before that every call reads the file again to compare its bytes. Wine's kernel32
// shows the same step, its reads of a file younger than about two seconds costing several times
// more. So the reads are timed twice: right after the file is made ("fresh": up to 100,000 reads,
// cut short when the file turns 1.5 s old so that none of them meets a settled file), and, after
// waiting until the file is 2.5 s old, 100,000 reads again ("settled"). Compare the passes by
// reads per second, since the fresh one may be cut short.
#ifdef _WIN32
#include <windows.h>
#else
#include "platform/sim/ProfileEngine.h"
#endif

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDrivers = 1700;
constexpr int kDriversPerSeries = 4;
constexpr int kScanners = 40;
constexpr int kUtilities = 20;  // the program reads [Default.U1] to [Default.U20]
constexpr int kReads = 100'000;
constexpr int kDistinctQueries = 1000;
constexpr std::uint32_t kBufferSize = 260;  // what the program passes for config.ini
constexpr auto kFreshTime = std::chrono::milliseconds(1500);
constexpr auto kSettleWait = std::chrono::milliseconds(2500);
constexpr int kReadsPerClockCheck = 100;

#ifdef _WIN32
constexpr const char* kEngineName = "kernel32";

std::uint32_t ReadString(const wchar_t* section, const wchar_t* key, wchar_t* buffer,
                         const fs::path& file) {
    return GetPrivateProfileStringW(section, key, L"", buffer, kBufferSize, file.c_str());
}
#else
constexpr const char* kEngineName = "sim";

std::uint32_t ReadString(const wchar_t* section, const wchar_t* key, wchar_t* buffer,
                         const fs::path& file) {
    static norvane::sim::ProfileEngine engine;
    return engine.GetString(section, key, L"", buffer, kBufferSize, file);
}
#endif

// Hex digits from a fixed-seed generator, so that both builds write the same bytes.
class Digits {
public:
    std::string Guid() {
        return Hex(8) + "-" + Hex(4) + "-" + Hex(4) + "-" + Hex(4) + "-" + Hex(12);
    }

private:
    std::string Hex(int count) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += "0123456789ABCDEF"[next_() % 16];
        return out;
    }
    std::minstd_rand next_{20240611};
};

// "D" and 7 give "D7": the numbered names of config.ini. Built by appending, which also keeps
// GCC 12's -Wrestrict false alarm on a literal plus a temporary string away.
std::string Numbered(const char* prefix, int number) {
    std::string out = prefix;
    out += std::to_string(number);
    return out;
}

std::string Line(const std::string& key, const std::string& value) {
    return key + "=" + value + "\r\n";
}

// The config.ini of a package with many drivers, laid out as the maker writes it: commented
// sections in the order the program reads them, ANSI with CRLF line ends.
std::string MakeConfig() {
    Digits digits;
    std::string out = "; config.ini - the description of this printer driver package.\r\n";
    out += "[Common]\r\n" + Line("OEMPROVIDER", "Corvida") +
           Line("OEMREGPATH", "SOFTWARE\\Corvida") +
           Line("OEMREGNORVANEPATH", "SOFTWARE\\Corvida\\Halvex") +
           Line("OEMFOLDERNAME", "\\Corvida") + "\r\n";

    out += "; The printer drivers of this package, spelled as Windows lists them.\r\n[Driver]\r\n";
    const char* const kinds[] = {" PCL6", " PS", " Fax", " XPS"};
    for (int d = 1; d <= kDrivers; ++d)
        out += Line(Numbered("D", d), Numbered("Corvida Model ", 100 + d / 4) + kinds[d % 4]);

    out += "\r\n; Drivers that belong together.\r\n[DevSeries]\r\n";
    for (int x = 1; x <= kDrivers / kDriversPerSeries; ++x) {
        std::string series;
        for (int d = (x - 1) * kDriversPerSeries + 1; d <= x * kDriversPerSeries; ++d)
            series += Numbered(series.empty() ? "D" : ",D", d);
        out += Line(Numbered("X", x), series);
    }

    out += "\r\n[Scanner]\r\n";
    for (int s = 1; s <= kScanners; ++s)
        out += Line(Numbered("SD", s), Numbered("Corvida Scanner ", s));
    out += "\r\n[ScannerGUID]\r\n";
    for (int s = 1; s <= kScanners; ++s)
        out += Line(Numbered("SID", s), digits.Guid());

    out += "\r\n[DelUty]\r\n" + Line("DelCode", "1");
    for (int u = 1; u <= kUtilities; ++u)
        out += Line(Numbered("U", u), Numbered("Utility", u));
    for (int u = 1; u <= kUtilities; ++u) {
        out += "\r\n[" + Numbered("Default.U", u) + "]\r\n" + Line("GUID", digits.Guid()) +
               Line("KEY", Numbered("UseUtility", u)) + Line("VALUE", "1");
    }

    out += "\r\n[RebootCheck]\r\n";
    for (int u = 1; u <= kUtilities; ++u)
        out += Line(Numbered("R", u), Numbered("CVUTIL", u) + ".DLL");
    out += "\r\n[Timeout]\r\n" + Line("Second", "10");
    return out;
}

using Query = std::pair<std::wstring, std::wstring>;  // section, key

Query Widen(const std::string& section, const std::string& key) {
    return {std::wstring(section.begin(), section.end()), std::wstring(key.begin(), key.end())};
}

// The reads of every kind the program makes, spread over the whole file: present keys, keys past
// the end of a numbered list, sections that are not there, and names in other cases.
Query NthQuery(int i) {
    const int driver = (i * 7919) % kDrivers + 1;
    const int utility = i % kUtilities + 1;
    switch (i % 10) {
        case 0:
            return Widen("Common", "OEMPROVIDER");
        case 1:
            return Widen("Driver", Numbered("D", driver));
        case 2:
            return Widen("DevSeries", Numbered("X", (driver - 1) / kDriversPerSeries + 1));
        case 3:
            return Widen(Numbered("Default.U", utility), "GUID");
        case 4:
            return Widen("Timeout", "Second");
        case 5:
            return Widen("Driver", Numbered("D", kDrivers + 1));
        case 6:
            return Widen(Numbered("Default.U", utility), "Missing");
        case 7:
            return Widen(Numbered("Default.U", kUtilities + 1), "GUID");
        case 8:
            return Widen("DRIVER", Numbered("d", driver));
        default:
            return Widen(Numbered("default.u", utility), "value");
    }
}

struct Pass {
    int reads = 0;
    double milliseconds = 0;
    std::uint64_t found = 0;  // reads that answered a value rather than the empty default
    std::uint64_t hash = 14695981039346656037u;  // of every answer, for comparing the two builds
};

// Up to kReads reads, fewer when `deadline` comes first.
Pass TimeReads(const std::vector<Query>& queries, const fs::path& file,
               Clock::time_point deadline) {
    Pass pass;
    wchar_t buffer[kBufferSize];
    const Clock::time_point start = Clock::now();
    for (; pass.reads < kReads; ++pass.reads) {
        if (pass.reads % kReadsPerClockCheck == 0 && Clock::now() >= deadline)
            break;
        const Query& q = queries[static_cast<std::size_t>(pass.reads) % queries.size()];
        const std::uint32_t count = ReadString(q.first.c_str(), q.second.c_str(), buffer, file);
        pass.found += count > 0;
        for (std::uint32_t c = 0; c < count; ++c)
            pass.hash = (pass.hash ^ static_cast<std::uint16_t>(buffer[c])) * 1099511628211u;
    }
    pass.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return pass;
}

void Print(const char* name, const Pass& pass) {
    std::printf("%s: %d reads in %.3f ms, %.0f reads/s, %llu found, answers %016llx\n", name,
                pass.reads, pass.milliseconds, pass.reads / (pass.milliseconds / 1000),
                static_cast<unsigned long long>(pass.found),
                static_cast<unsigned long long>(pass.hash));
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() /
                            ("norvane-profile-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    const fs::path file = folder / "config.ini";
    const std::string config = MakeConfig();
    std::ofstream(file, std::ios::binary)
        .write(config.data(), static_cast<std::streamsize>(config.size()));
    const Clock::time_point written = Clock::now();
    std::vector<Query> queries;
    for (int i = 0; i < kDistinctQueries; ++i)
        queries.push_back(NthQuery(i));

    std::printf("engine: %s\nfile: %zu bytes\n", kEngineName, config.size());
    Print("fresh", TimeReads(queries, file, written + kFreshTime));
    std::this_thread::sleep_until(written + kSettleWait);
    Print("settled", TimeReads(queries, file, Clock::time_point::max()));

    std::error_code ec;
    fs::remove_all(folder, ec);
    return 0;
}
