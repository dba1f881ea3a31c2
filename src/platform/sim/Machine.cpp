#include "platform/sim/Machine.h"

#include <unistd.h>

#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/sim/RegFile.h"

namespace norvane::sim {
namespace {

namespace fs = std::filesystem;

bool ReadAll(const fs::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return static_cast<bool>(in) || in.eof();
}

// Writes the file's new bytes under a temporary name beside it and renames them over it: a save
// that fails or is cut off leaves the old file as it was, never a truncated one.
std::optional<std::string> ReplaceFile(const fs::path& file, const std::string& bytes) {
    fs::path temporary = file;
    temporary += ".saving";
    std::error_code ec;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) {
        fs::remove(temporary, ec);
        return "cannot be written";
    }
    fs::rename(temporary, file, ec);
    if (ec) {
        const std::string why = ec.message();
        fs::remove(temporary, ec);
        return "cannot be replaced: " + why;
    }
    return std::nullopt;
}

platform::LocalTime HostLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
}

}  // namespace

std::string MachineError::ToString() const {
    std::string out = file.string();
    if (line)
        (out += ':') += std::to_string(line);
    return (out += ": ") += message;
}

std::unique_ptr<Machine> Machine::Load(const fs::path& folder, const UiHostFactory& host,
                                       MachineError& error) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = {folder, 0, "no machine folder here"};
        return nullptr;
    }
    const fs::path json = folder / "machine.json";
    const fs::path reg = folder / "registry.reg";
    std::string jsonText, regText;
    if (!ReadAll(json, jsonText)) {
        error = {json, 0, "cannot be read"};
        return nullptr;
    }
    MachineConfig config;
    MachineConfigError configError;
    if (!ParseMachineConfig(jsonText, config, configError)) {
        error = {json, configError.line, configError.message};
        return nullptr;
    }
    if (!ReadAll(reg, regText)) {
        error = {reg, 0, "cannot be read"};
        return nullptr;
    }
    RegistryStore registry;
    if (const auto regError =
            ReadRegFile(std::vector<std::uint8_t>(regText.begin(), regText.end()), registry)) {
        error = {reg, regError->line, regError->message};
        return nullptr;
    }
    if (!fs::is_directory(folder / "drive_c", ec)) {
        error = {folder / "drive_c", 0, "the C: drive folder is missing"};
        return nullptr;
    }
    if (const auto problem = CheckPrograms(config.programs, PathMap(folder / "drive_c"))) {
        error = {json, problem->line, problem->message};
        return nullptr;
    }
    std::string written = WriteRegFile(registry);
    return std::unique_ptr<Machine>(new Machine(folder, std::move(config), std::move(jsonText),
                                                std::move(registry), std::move(written), host));
}

Machine::Machine(fs::path folder, MachineConfig config, std::string configText,
                 RegistryStore registry, std::string registryText, const UiHostFactory& host)
    : m_folder(std::move(folder)),
      m_config(std::move(config)),
      m_configText(std::move(configText)),
      m_configWritten(UpdateMachineConfig(m_configText, m_config)),
      m_registry(std::move(registry)),
      m_registryText(std::move(registryText)),
      m_paths(m_folder / "drive_c"),
      m_clock(m_config.localTime ? *m_config.localTime : HostLocalTime()),
      m_journal(m_folder / "journal.log", m_clock),
      m_files(m_paths, m_config.currentDir ? *m_config.currentDir : m_config.ProgramFolder(),
              m_config.faults.lockedFiles, m_journal, m_config.faults.readOnlyFiles),
      m_registryService(m_registry, m_config.faults.readOnlyKeys, m_journal),
      m_profile(m_files, m_config.windowsDir, m_config.ansiCodePage, m_journal),
      m_spoolerRegistry(m_registry, m_clock),
      m_spooler(m_spoolerRegistry, m_files,
                {m_config.windowsDir, m_config.jobs, m_config.faults,
                 [this](const std::wstring& entry) { m_journal.Record(entry); },
                 &m_journal.Changes(), [this] { return m_registry.Generation(); }}),
      m_processes(m_config, m_paths, m_files, m_registry, m_clock, m_journal),
      m_security(m_config, m_journal),
      m_system(m_config),
      m_resources(m_files),
      m_ui(m_config, m_journal, host ? host(m_journal, m_clock) : nullptr),
      m_platform{m_spooler,  m_registryService, m_profile,   m_files, m_processes,
                 m_security, m_system,          m_resources, m_clock, m_ui} {
    m_clock.AttachJournal(m_journal);
}

void Machine::CutOffAfter(std::uint64_t change) {
    m_journal.Changes().CutOffAfter(change, [this](std::uint64_t made) {
        m_journal.Record(L"Cut off after change " + std::to_wstring(made));
        const auto failed = Save();
        if (failed)
            std::fprintf(stderr, "%s\n", failed->ToString().c_str());
        // _exit, not exit: no destructor, no atexit handler and no buffered output of the
        // program runs or is written after the cut, as none would in a killed process.
        _exit(failed ? kNotSavedExitStatus : kCutOffExitStatus);
    });
}

std::optional<MachineError> Machine::Save() {
    m_processes.FinishRunning();
    const std::string written = WriteRegFile(m_registry);
    if (written != m_registryText) {
        if (auto failed = ReplaceFile(m_folder / "registry.reg", written))
            return MachineError{m_folder / "registry.reg", 0, std::move(*failed)};
        m_registryText = written;
    }
    // Only what a run can change there (purged jobs, used-up faults) makes machine.json differ.
    const std::string config = UpdateMachineConfig(m_configText, m_config);
    if (config != m_configWritten) {
        if (auto failed = ReplaceFile(m_folder / "machine.json", config))
            return MachineError{m_folder / "machine.json", 0, std::move(*failed)};
        m_configWritten = config;
    }
    if (!m_journal.Flush())
        return MachineError{m_folder / "journal.log", 0, "cannot be appended to"};
    return std::nullopt;
}

}  // namespace norvane::sim
