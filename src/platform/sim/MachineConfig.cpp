#include "platform/sim/MachineConfig.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <utility>

#include "platform/sim/AnsiCodePage.h"
#include "platform/sim/RegistryStore.h"

namespace norvane::sim {
namespace {

using nlohmann::json;

std::size_t LineOfOffset(const std::string& text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        line += text[i] == '\n';
    return line;
}

// The line where a chain of names appears, each looked for after the one before it, so that an
// error points at its setting: {"faults", "drivers", "Windows x64|Model A"}.
std::size_t LineOfNames(const std::string& text, std::initializer_list<std::string> names) {
    std::size_t line = 0, from = 0;
    for (const auto& name : names) {
        const auto at = text.find(json(name).dump(), from);
        if (at == std::string::npos)
            break;
        line = LineOfOffset(text, at);
        from = at + 1;
    }
    return line;
}

std::size_t LineOfName(const std::string& text, const std::string& name) {
    return LineOfNames(text, {name});
}

struct Reader {
    const std::string& text;
    const json& root;
    MachineConfigError& error;

    bool Fail(const std::string& name, const std::string& message) {
        error = {LineOfName(text, name), "\"" + name + "\" " + message};
        return false;
    }
    bool String(const char* name, std::wstring& out) {
        if (!root.contains(name))
            return true;
        if (!root[name].is_string())
            return Fail(name, "must be a string");
        out = text::FromUtf8(root[name].get<std::string>());
        return true;
    }
    bool OptionalString(const char* name, std::optional<std::wstring>& out) {
        if (root.contains(name) && root[name].is_null()) {
            out.reset();
            return true;
        }
        std::wstring value;
        if (!root.contains(name))
            return true;
        if (!String(name, value))
            return false;
        out = value;
        return true;
    }
    template <typename T>
    bool Number(const char* name, T& out) {
        if (!root.contains(name))
            return true;
        if (!root[name].is_number_unsigned())
            return Fail(name, "must be a whole number");
        const auto value = root[name].get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(static_cast<T>(-1)))
            return Fail(name, "is out of range");
        out = static_cast<T>(value);
        return true;
    }
    bool Bool(const char* name, bool& out) {
        if (!root.contains(name))
            return true;
        if (!root[name].is_boolean())
            return Fail(name, "must be true or false");
        out = root[name].get<bool>();
        return true;
    }
};

bool IsErrorCode(const json& value) {
    return value.is_number_unsigned() && value.get<std::uint64_t>() >= 1 &&
           value.get<std::uint64_t>() <= 0xFFFFFFFF;
}

bool IsFullWindowsPath(const std::wstring& path) {
    return path.size() >= 3 && text::FoldAscii(path[0]) >= L'a' &&
           text::FoldAscii(path[0]) <= L'z' && path[1] == L':' && path[2] == L'\\';
}

// "<environment>|<driver name>" with a known environment.
bool IsDriverFaultName(const std::wstring& name) {
    const auto bar = name.find(L'|');
    if (bar == std::wstring::npos || bar + 1 == name.size())
        return false;
    const std::wstring environment = name.substr(0, bar);
    return text::EqualsNoCase(environment, L"Windows x64") ||
           text::EqualsNoCase(environment, L"Windows NT x86");
}

// A key a program may delete or a machine may mark: a path below one of the registry's roots.
bool IsKeyPath(const std::wstring& path) {
    return RegistryStore::CheckPath(path) == platform::win::kSuccess &&
           path.find(L'\\') != std::wstring::npos;
}

// A list of texts each of which `valid` accepts, appended to `out`; false (and `out` untouched)
// when `list` is not such a list.
bool ReadTexts(const json& list, bool (*valid)(const std::wstring&),
               std::vector<std::wstring>& out) {
    const auto fits = [valid](const json& item) {
        return item.is_string() && valid(text::FromUtf8(item.get<std::string>()));
    };
    if (!list.is_array() || !std::all_of(list.begin(), list.end(), fits))
        return false;
    for (const auto& item : list)
        out.push_back(text::FromUtf8(item.get<std::string>()));
    return true;
}

std::optional<PrinterBusy> BusyFromName(const std::string& name) {
    if (name == "printing")
        return PrinterBusy::Printing;
    if (name == "otherHandleOpen")
        return PrinterBusy::OtherHandleOpen;
    return std::nullopt;
}

const char* BusyName(PrinterBusy busy) {
    return busy == PrinterBusy::Printing ? "printing" : "otherHandleOpen";
}

// machine.json "faults", checked whole: every name known, every value of its type.
class FaultReader {
public:
    FaultReader(const std::string& text, MachineConfigError& error)
        : m_text(text), m_error(error) {}

    bool Read(const json& faults, MachineFaults& out) {
        if (!faults.is_object()) {
            m_error = {LineOfName(m_text, "faults"),
                       "\"faults\" must be an object of drivers, printers, busyPrinters, "
                       "monitors, printProcessors, lockedFiles, readOnlyFiles, readOnlyKeys "
                       "and spoolerStopped"};
            return false;
        }
        for (const auto& [kind, value] : faults.items()) {
            bool ok = false;
            if (kind == "drivers") {
                ok = Drivers(value, out.drivers);
            } else if (kind == "printers") {
                ok = Named(kind, "printer", value, out.printers);
            } else if (kind == "busyPrinters") {
                ok = BusyPrinters(value, out.busyPrinters);
            } else if (kind == "monitors") {
                ok = Named(kind, "monitor", value, out.monitors);
            } else if (kind == "printProcessors") {
                ok = Named(kind, "print processor", value, out.printProcessors);
            } else if (kind == "lockedFiles") {
                ok = Files(kind, value, out.lockedFiles);
            } else if (kind == "readOnlyFiles") {
                ok = Files(kind, value, out.readOnlyFiles);
            } else if (kind == "readOnlyKeys") {
                ok = ReadOnlyKeys(value, out.readOnlyKeys);
            } else if (kind == "spoolerStopped") {
                ok = value.is_boolean() ||
                     Fail({"faults", kind}, "\"spoolerStopped\" must be true or false");
                out.spoolerStopped = ok && value.get<bool>();
            } else {
                ok = Fail({"faults", kind},
                          "\"" + kind +
                              "\" is not a fault this machine knows (drivers, printers, "
                              "busyPrinters, monitors, printProcessors, lockedFiles, "
                              "readOnlyFiles, readOnlyKeys, spoolerStopped)");
            }
            if (!ok)
                return false;
        }
        return true;
    }

private:
    bool Fail(std::initializer_list<std::string> where, const std::string& message) {
        m_error = {LineOfNames(m_text, where), "\"faults\": " + message};
        return false;
    }

    bool Drivers(const json& drivers, std::map<std::wstring, DriverFault, text::NoCaseLess>& out) {
        if (!drivers.is_object())
            return Fail({"faults", "drivers"},
                        "\"drivers\" must map \"<environment>|<driver name>\" to a fault");
        for (const auto& [key, value] : drivers.items()) {
            const std::string driver = "driver \"" + key + "\"";
            if (!IsDriverFaultName(text::FromUtf8(key))) {
                return Fail({"faults", "drivers", key},
                            driver +
                                " must be named \"<environment>|<driver name>\" with the "
                                "environment \"Windows x64\" or \"Windows NT x86\"");
            }
            if (!value.is_object()) {
                return Fail({"faults", "drivers", key},
                            driver +
                                " must be an object with \"deleteErrors\" and/or "
                                "\"heldUntilReboot\"");
            }
            DriverFault fault;
            for (const auto& [member, setting] : value.items()) {
                if (member == "deleteErrors") {
                    if (!setting.is_array() ||
                        !std::all_of(setting.begin(), setting.end(), IsErrorCode)) {
                        return Fail({"faults", "drivers", key, member},
                                    driver +
                                        ": \"deleteErrors\" must list error codes (whole "
                                        "numbers from 1 to 4294967295)");
                    }
                    for (const auto& code : setting)
                        fault.deleteErrors.push_back(code.get<platform::WinError>());
                } else if (member == "heldUntilReboot") {
                    if (!setting.is_boolean()) {
                        return Fail({"faults", "drivers", key, member},
                                    driver + ": \"heldUntilReboot\" must be true or false");
                    }
                    fault.heldUntilReboot = setting.get<bool>();
                } else {
                    return Fail({"faults", "drivers", key, member},
                                driver + ": \"" + member +
                                    "\" is not known (deleteErrors, heldUntilReboot)");
                }
            }
            out[text::FromUtf8(key)] = std::move(fault);
        }
        return true;
    }

    // printers, monitors, printProcessors: { name: { "deleteError": code } }.
    bool Named(const std::string& kind, const std::string& what, const json& entries,
               std::map<std::wstring, platform::WinError, text::NoCaseLess>& out) {
        if (!entries.is_object()) {
            return Fail({"faults", kind},
                        "\"" + kind + "\" must map names to { \"deleteError\": <error code> }");
        }
        for (const auto& [name, value] : entries.items()) {
            if (!value.is_object() || value.size() != 1 || !value.contains("deleteError") ||
                !IsErrorCode(value["deleteError"])) {
                return Fail({"faults", kind, name},
                            what + " \"" + name +
                                "\" must be { \"deleteError\": <error code from 1 to "
                                "4294967295> }");
            }
            out[text::FromUtf8(name)] = value["deleteError"].get<platform::WinError>();
        }
        return true;
    }

    // busyPrinters: { name: "printing" | "otherHandleOpen" }.
    bool BusyPrinters(const json& entries,
                      std::map<std::wstring, PrinterBusy, text::NoCaseLess>& out) {
        const std::string expected = "\"printing\" or \"otherHandleOpen\"";
        if (!entries.is_object()) {
            return Fail({"faults", "busyPrinters"},
                        "\"busyPrinters\" must map printer names to " + expected);
        }
        for (const auto& [name, value] : entries.items()) {
            const auto busy =
                value.is_string() ? BusyFromName(value.get<std::string>()) : std::nullopt;
            if (!busy) {
                return Fail({"faults", "busyPrinters", name},
                            "printer \"" + name + "\" must be " + expected);
            }
            out[text::FromUtf8(name)] = *busy;
        }
        return true;
    }

    bool Files(const std::string& kind, const json& files, std::vector<std::wstring>& out) {
        if (!ReadTexts(files, IsFullWindowsPath, out)) {
            return Fail({"faults", kind}, "\"" + kind +
                                              "\" must list full Windows paths such as "
                                              "\"C:\\\\Folder\\\\File.dat\"");
        }
        return true;
    }

    bool ReadOnlyKeys(const json& keys, std::vector<std::wstring>& out) {
        if (!ReadTexts(keys, IsKeyPath, out)) {
            return Fail({"faults", "readOnlyKeys"},
                        "\"readOnlyKeys\" must list registry keys below a root, such as "
                        "\"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Corvida\"");
        }
        return true;
    }

    const std::string& m_text;
    MachineConfigError& m_error;
};

// machine.json "programs", checked whole: every name known, every value of its type. Whether
// their files are on the drive is for the machine's load to check (CheckPrograms).
class ProgramReader {
public:
    ProgramReader(const std::string& text, MachineConfigError& error)
        : m_text(text), m_error(error) {}

    bool Read(const json& programs, SimPrograms& out) {
        if (!programs.is_object())
            return Fail({"programs"}, "\"programs\" must map executable paths to programs");
        for (const auto& [path, value] : programs.items()) {
            const std::string program = "program \"" + path + "\"";
            if (!IsFullWindowsPath(text::FromUtf8(path))) {
                return Fail({"programs", path}, program +
                                                    " must be named by a full Windows path such as "
                                                    "\"C:\\\\Folder\\\\Setup.exe\"");
            }
            if (!value.is_object())
                return Fail({"programs", path}, program + " must be an object");
            SimProgram read;
            read.line = LineOfNames(m_text, {"programs", path});
            for (const auto& [member, setting] : value.items()) {
                if (const auto problem = Member(member, setting, read)) {
                    return Fail({"programs", path, member},
                                program + ": \"" + member + "\" " + *problem);
                }
            }
            if (!out.emplace(text::FromUtf8(path), std::move(read)).second)
                return Fail({"programs", path}, program + " is named twice");
        }
        return true;
    }

private:
    bool Fail(std::initializer_list<std::string> where, const std::string& message) {
        m_error = {LineOfNames(m_text, where), "\"programs\": " + message};
        return false;
    }

    // Reads one setting of a program: what is wrong with it, or nullopt.
    static std::optional<std::string> Member(const std::string& member, const json& setting,
                                             SimProgram& program) {
        if (member == "runMs") {
            if (!setting.is_number_unsigned() || setting.get<std::uint64_t>() > 0xFFFFFFFF)
                return "must be a whole number of milliseconds";
            program.runMs = setting.get<std::uint32_t>();
        } else if (member == "child") {
            if (!setting.is_string() ||
                !IsFullWindowsPath(text::FromUtf8(setting.get<std::string>()))) {
                return "must be a full Windows path";
            }
            program.child = text::FromUtf8(setting.get<std::string>());
        } else if (member == "exitCode") {
            if (!setting.is_number_unsigned() || setting.get<std::uint64_t>() > 0xFFFFFFFF)
                return "must be a whole number from 0 to 4294967295";
            program.exitCode = setting.get<std::uint32_t>();
        } else if (member == "failToStart") {
            if (!setting.is_boolean())
                return "must be true or false";
            program.failToStart = setting.get<bool>();
        } else if (member == "deleteKeys") {
            if (!ReadTexts(setting, IsKeyPath, program.deleteKeys)) {
                return "must list full key paths such as "
                       "\"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Maker\"";
            }
        } else if (member == "deleteFiles" || member == "pendingRenames") {
            auto& files = member == "deleteFiles" ? program.deleteFiles : program.pendingRenames;
            if (!ReadTexts(setting, IsFullWindowsPath, files))
                return "must list full Windows paths";
        } else if (member == "writeIni") {
            if (!IniWrites(setting, program.writeIni)) {
                return "must list objects of four texts, \"file\" (a full Windows path), "
                       "\"section\", \"key\" and \"value\"";
            }
        } else {
            return "is not known (runMs, child, writeIni, deleteKeys, deleteFiles, "
                   "pendingRenames, failToStart, exitCode)";
        }
        return std::nullopt;
    }

    static bool IniWrites(const json& list, std::vector<IniWrite>& out) {
        if (!list.is_array())
            return false;
        for (const auto& item : list) {
            if (!item.is_object() || item.size() != 4)
                return false;
            IniWrite write;
            for (const auto& [name, field] :
                 {std::pair{"file", &write.file}, std::pair{"section", &write.section},
                  std::pair{"key", &write.key}, std::pair{"value", &write.value}}) {
                if (!item.contains(name) || !item.at(name).is_string())
                    return false;
                *field = text::FromUtf8(item.at(name).get<std::string>());
            }
            if (!IsFullWindowsPath(write.file))
                return false;
            out.push_back(std::move(write));
        }
        return true;
    }

    const std::string& m_text;
    MachineConfigError& m_error;
};

// machine.json "processes": a list of {"executable": <full Windows path>, "parentId": <ID>,
// "protected": <bool, optional>}.
bool ReadOlderProcesses(const std::string& text, const json& list, std::vector<OlderProcess>& out,
                        MachineConfigError& error) {
    const auto fail = [&] {
        error = {LineOfName(text, "processes"),
                 "\"processes\" must list objects of an \"executable\" (a full Windows path), a "
                 "\"parentId\" (a whole number) and optionally \"protected\" (true or false)"};
        return false;
    };
    if (!list.is_array())
        return fail();
    for (const auto& item : list) {
        if (!item.is_object() || item.size() != (item.contains("protected") ? 3u : 2u) ||
            !item.contains("executable") || !item["executable"].is_string() ||
            !item.contains("parentId") || !item["parentId"].is_number_unsigned() ||
            item["parentId"].get<std::uint64_t>() > 0xFFFFFFFF ||
            (item.contains("protected") && !item["protected"].is_boolean())) {
            return fail();
        }
        OlderProcess process{text::FromUtf8(item["executable"].get<std::string>()),
                             item["parentId"].get<std::uint32_t>(), item.value("protected", false)};
        if (!IsFullWindowsPath(process.executable))
            return fail();
        out.push_back(std::move(process));
    }
    return true;
}

json FaultsJson(const MachineFaults& faults) {
    json out = json::object();
    json drivers = json::object();
    for (const auto& [key, fault] : faults.drivers) {
        json entry = json::object();
        if (!fault.deleteErrors.empty())
            entry["deleteErrors"] = fault.deleteErrors;
        if (fault.heldUntilReboot)
            entry["heldUntilReboot"] = true;
        if (!entry.empty())
            drivers[text::ToUtf8(key)] = entry;
    }
    if (!drivers.empty())
        out["drivers"] = drivers;
    const auto putNamed = [&](const char* kind, const auto& entries) {
        for (const auto& [name, code] : entries)
            out[kind][text::ToUtf8(name)] = {{"deleteError", code}};
    };
    putNamed("printers", faults.printers);
    putNamed("monitors", faults.monitors);
    putNamed("printProcessors", faults.printProcessors);
    for (const auto& [name, busy] : faults.busyPrinters)
        out["busyPrinters"][text::ToUtf8(name)] = BusyName(busy);
    for (const auto& file : faults.lockedFiles)
        out["lockedFiles"].push_back(text::ToUtf8(file));
    for (const auto& file : faults.readOnlyFiles)
        out["readOnlyFiles"].push_back(text::ToUtf8(file));
    for (const auto& key : faults.readOnlyKeys)
        out["readOnlyKeys"].push_back(text::ToUtf8(key));
    if (faults.spoolerStopped)
        out["spoolerStopped"] = true;
    return out;
}

// Puts what a run may change into a machine.json document: the queued jobs and the faults.
void PutRunState(json& root, const MachineConfig& config) {
    root.erase("jobs");
    for (const auto& [name, count] : config.jobs)
        root["jobs"][text::ToUtf8(name)] = count;
    root.erase("faults");
    if (json faults = FaultsJson(config.faults); !faults.empty())
        root["faults"] = std::move(faults);
}

bool ParseLocalTime(const std::string& textValue, platform::LocalTime& t) {
    char sep = 0;
    int consumed = 0;
    if (std::sscanf(textValue.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &t.year, &t.month, &t.day,
                    &sep, &t.hour, &t.minute, &t.second, &consumed) != 7 ||
        (sep != 'T' && sep != ' ') || static_cast<std::size_t>(consumed) != textValue.size()) {
        return false;
    }
    // A date SYSTEMTIME can hold (years 1601 to 30827) that exists in its calendar.
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12)
        return false;
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    const int kDays[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return t.day >= 1 && t.day <= kDays[t.month - 1] && t.hour >= 0 && t.hour < 24 &&
           t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

// nlohmann's own document builder, except that a fault found while reading is kept with the
// byte where it was found instead of thrown: a number beyond the double range, too, is reported
// through here, and only a syntax error's exception would carry that byte.
class PlacedDomParser : public nlohmann::detail::json_sax_dom_parser<json> {
public:
    explicit PlacedDomParser(json& root) : json_sax_dom_parser(root, false) {}

    bool parse_error(std::size_t position, const std::string& /*token*/,
                     const nlohmann::detail::exception& e) {
        failedAt = position;
        message = e.what();
        return false;
    }

    std::size_t failedAt = 0;
    std::string message;
};

}  // namespace

bool ParseMachineConfig(const std::string& textValue, MachineConfig& config,
                        MachineConfigError& error) {
    json root;
    PlacedDomParser parser(root);
    if (!json::sax_parse(textValue, &parser)) {
        error = {LineOfOffset(textValue, parser.failedAt == 0 ? 0 : parser.failedAt - 1),
                 "is not valid JSON: " + parser.message};
        return false;
    }
    if (!root.is_object()) {
        error = {1, "must hold one JSON object"};
        return false;
    }
    static const char* const kKnown[] = {
        "program", "programs", "fileVersion", "windowsDir", "commonAppDataDir", "currentDir",
        "threadLocale", "systemDefaultLangId", "ansiCodePage", "osMajorVersion", "administrator",
        "localTime", "jobs", "faults", "processes", "computerName",
        // Where a captured machine came from: read by people, kept as it is.
        "capture",
        // What can end the program's start-up.
        "otherInstanceRunning", "commonControlsFail"};
    for (const auto& item : root.items()) {
        bool known = false;
        for (const char* name : kKnown)
            known = known || item.key() == name;
        if (!known) {
            error = {LineOfName(textValue, item.key()),
                     "\"" + item.key() + "\" is not a setting this machine knows"};
            return false;
        }
    }
    Reader r{textValue, root, error};
    if (!r.String("program", config.program) ||
        !r.OptionalString("fileVersion", config.fileVersion) ||
        !r.String("windowsDir", config.windowsDir) ||
        !r.String("computerName", config.computerName) ||
        !r.String("commonAppDataDir", config.commonAppDataDir) ||
        !r.OptionalString("currentDir", config.currentDir) ||
        !r.Number("threadLocale", config.threadLocale) ||
        !r.Number("systemDefaultLangId", config.systemDefaultLangId) ||
        !r.Number("ansiCodePage", config.ansiCodePage) ||
        !r.Number("osMajorVersion", config.osMajorVersion) ||
        !r.Bool("otherInstanceRunning", config.otherInstanceRunning) ||
        !r.Bool("commonControlsFail", config.commonControlsFail)) {
        return false;
    }
    if (config.program.rfind(L'\\') == std::wstring::npos || config.program.size() < 4 ||
        config.program[1] != L':') {
        return r.Fail("program", "must be a full Windows path such as C:\\\\Folder\\\\Program.exe");
    }
    if (!AnsiCodePage::IsSupported(config.ansiCodePage))
        return r.Fail(
            "ansiCodePage",
            "must be an ANSI code page of Windows: 874, 932, 936, 949, 950, 1250 to 1258 or 65001");
    if (root.contains("administrator")) {
        const json& admin = root["administrator"];
        if (admin.is_boolean()) {
            config.administrator =
                admin.get<bool>() ? AdministratorToken::Member : AdministratorToken::None;
        } else if (admin == "filtered") {
            config.administrator = AdministratorToken::Filtered;
        } else {
            return r.Fail("administrator", "must be true, false or \"filtered\"");
        }
    }
    if (root.contains("localTime")) {
        platform::LocalTime t;
        if (!root["localTime"].is_string() ||
            !ParseLocalTime(root["localTime"].get<std::string>(), t)) {
            return r.Fail("localTime", "must be a time such as \"2026-03-02T09:15:00\"");
        }
        config.localTime = t;
    }
    if (root.contains("jobs")) {
        if (!root["jobs"].is_object())
            return r.Fail("jobs", "must map printer names to counts");
        for (const auto& item : root["jobs"].items()) {
            if (!item.value().is_number_unsigned() ||
                item.value().get<std::uint64_t>() > 0xFFFFFFFF) {
                error = {LineOfNames(textValue, {"jobs", item.key()}),
                         "\"jobs\" must map printer names to whole numbers from 0 to 4294967295"};
                return false;
            }
            config.jobs[text::FromUtf8(item.key())] = item.value().get<std::uint32_t>();
        }
    }
    if (root.contains("faults") &&
        !FaultReader(textValue, error).Read(root["faults"], config.faults)) {
        return false;
    }
    if (root.contains("processes") &&
        !ReadOlderProcesses(textValue, root["processes"], config.processes, error)) {
        return false;
    }
    if (root.contains("capture") && !root["capture"].is_object())
        return r.Fail("capture", "must be an object such as {\"time\": ..., \"computer\": ...}");
    if (root.contains("programs"))
        return ProgramReader(textValue, error).Read(root["programs"], config.programs);
    return true;
}

std::string WriteMachineConfig(const MachineConfig& config) {
    json root = json::object();
    root["program"] = text::ToUtf8(config.program);
    root["fileVersion"] = config.fileVersion ? json(text::ToUtf8(*config.fileVersion)) : json();
    root["windowsDir"] = text::ToUtf8(config.windowsDir);
    root["commonAppDataDir"] = text::ToUtf8(config.commonAppDataDir);
    root["computerName"] = text::ToUtf8(config.computerName);
    root["currentDir"] = config.currentDir ? json(text::ToUtf8(*config.currentDir)) : json();
    root["threadLocale"] = config.threadLocale;
    root["systemDefaultLangId"] = config.systemDefaultLangId;
    root["ansiCodePage"] = config.ansiCodePage;
    root["osMajorVersion"] = config.osMajorVersion;
    switch (config.administrator) {
        case AdministratorToken::Member:
            root["administrator"] = true;
            break;
        case AdministratorToken::None:
            root["administrator"] = false;
            break;
        case AdministratorToken::Filtered:
            root["administrator"] = "filtered";
            break;
    }
    root["otherInstanceRunning"] = config.otherInstanceRunning;
    root["commonControlsFail"] = config.commonControlsFail;
    if (config.localTime) {
        const auto& t = *config.localTime;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        root["localTime"] = stamp;
    }
    PutRunState(root, config);
    return root.dump(2) + "\n";
}

std::string UpdateMachineConfig(const std::string& textValue, const MachineConfig& config) {
    json root = json::parse(textValue);
    PutRunState(root, config);
    return root.dump(2) + "\n";
}

DriverFault* MachineFaults::Driver(const std::wstring& environment, const std::wstring& name) {
    const auto it = drivers.find(environment + L"|" + name);
    return it == drivers.end() ? nullptr : &it->second;
}

std::vector<std::wstring> MachineFaults::EndHeldUntilReboot() {
    std::vector<std::wstring> freed;
    for (auto& [key, fault] : drivers) {
        if (fault.heldUntilReboot)
            freed.push_back(key);
        fault.heldUntilReboot = false;
    }
    return freed;
}

}  // namespace norvane::sim
