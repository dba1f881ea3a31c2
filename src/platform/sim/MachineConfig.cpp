#include "platform/sim/MachineConfig.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace norvane::sim {
namespace {

using nlohmann::json;

std::size_t LineOfOffset(const std::string& text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        line += text[i] == '\n';
    return line;
}

// The line where a name first appears, so that a type error points at its setting.
std::size_t LineOfName(const std::string& text, const std::string& name) {
    const auto at = text.find('"' + name + '"');
    return at == std::string::npos ? 0 : LineOfOffset(text, at);
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

bool ParseLocalTime(const std::string& textValue, platform::LocalTime& t) {
    char sep = 0;
    int consumed = 0;
    if (std::sscanf(textValue.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &t.year, &t.month, &t.day,
                    &sep, &t.hour, &t.minute, &t.second, &consumed) != 7 ||
        (sep != 'T' && sep != ' ') || static_cast<std::size_t>(consumed) != textValue.size()) {
        return false;
    }
    return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour < 24 &&
           t.minute < 60 && t.second < 60;
}

}  // namespace

bool ParseMachineConfig(const std::string& textValue, MachineConfig& config,
                        MachineConfigError& error) {
    json root;
    try {
        root = json::parse(textValue);
    } catch (const json::parse_error& e) {
        error = {LineOfOffset(textValue, e.byte == 0 ? 0 : e.byte - 1),
                 std::string("is not valid JSON: ") + e.what()};
        return false;
    }
    if (!root.is_object()) {
        error = {1, "must hold one JSON object"};
        return false;
    }
    static const char* const kKnown[] = {"program",
                                         "fileVersion",
                                         "windowsDir",
                                         "commonAppDataDir",
                                         "currentDir",
                                         "threadLocale",
                                         "systemDefaultLangId",
                                         "ansiCodePage",
                                         "osMajorVersion",
                                         "administrator",
                                         "otherInstanceRunning",
                                         "localTime",
                                         "jobs"};
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
        !r.String("commonAppDataDir", config.commonAppDataDir) ||
        !r.OptionalString("currentDir", config.currentDir) ||
        !r.Number("threadLocale", config.threadLocale) ||
        !r.Number("systemDefaultLangId", config.systemDefaultLangId) ||
        !r.Number("ansiCodePage", config.ansiCodePage) ||
        !r.Number("osMajorVersion", config.osMajorVersion) ||
        !r.Bool("otherInstanceRunning", config.otherInstanceRunning)) {
        return false;
    }
    if (config.program.rfind(L'\\') == std::wstring::npos || config.program.size() < 4 ||
        config.program[1] != L':') {
        return r.Fail("program", "must be a full Windows path such as C:\\\\Folder\\\\Program.exe");
    }
    if (config.ansiCodePage != 1252)
        return r.Fail("ansiCodePage", "must be 1252 (Windows-1252)");
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
            if (!item.value().is_number_unsigned()) {
                return r.Fail("jobs", "must map printer names to whole numbers");
            }
            config.jobs[text::FromUtf8(item.key())] = item.value().get<std::uint32_t>();
        }
    }
    return true;
}

std::string WriteMachineConfig(const MachineConfig& config) {
    json root = json::object();
    root["program"] = text::ToUtf8(config.program);
    root["fileVersion"] = config.fileVersion ? json(text::ToUtf8(*config.fileVersion)) : json();
    root["windowsDir"] = text::ToUtf8(config.windowsDir);
    root["commonAppDataDir"] = text::ToUtf8(config.commonAppDataDir);
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
    if (config.localTime) {
        const auto& t = *config.localTime;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        root["localTime"] = stamp;
    }
    if (!config.jobs.empty()) {
        json jobs = json::object();
        for (const auto& [name, count] : config.jobs)
            jobs[text::ToUtf8(name)] = count;
        root["jobs"] = jobs;
    }
    return root.dump(2) + "\n";
}

}  // namespace norvane::sim
