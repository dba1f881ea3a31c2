#include "platform/sim/SimProgram.h"

namespace norvane::sim {
namespace {

namespace fs = std::filesystem;

// The host file a full Windows path names; nullopt when it is missing or a folder.
std::optional<fs::path> HostFile(const PathMap& drive, const std::wstring& path) {
    ResolvedPath resolved;
    std::error_code ec;
    if (drive.Resolve(path, L"C:\\", resolved) || !resolved.exists ||
        !fs::is_regular_file(resolved.host, ec)) {
        return std::nullopt;
    }
    return resolved.host;
}

std::string Named(const std::wstring& path) {
    std::string named = "\"";
    return (named += text::ToUtf8(path)) += '"';
}

}  // namespace

const SimPrograms::value_type* FindProgram(const SimPrograms& programs, const PathMap& drive,
                                           const fs::path& host) {
    for (const auto& entry : programs) {
        if (HostFile(drive, entry.first) == host)
            return &entry;
    }
    return nullptr;
}

std::optional<ProgramsError> CheckPrograms(const SimPrograms& programs, const PathMap& drive) {
    for (const auto& [path, program] : programs) {
        const std::string name = "\"programs\": program " + Named(path);
        if (!HostFile(drive, path))
            return ProgramsError{program.line, name + " is not a file on the C: drive"};
        if (!program.child)
            continue;
        const std::string child = name + ": its child " + Named(*program.child);
        const auto childFile = HostFile(drive, *program.child);
        if (!childFile)
            return ProgramsError{program.line, child + " is not a file on the C: drive"};
        if (!FindProgram(programs, drive, *childFile))
            return ProgramsError{program.line, child + " has no entry of its own in \"programs\""};
    }
    // Each program starts one child at most, so a chain longer than the list comes back round.
    for (const auto& [path, program] : programs) {
        const SimProgram* link = &program;
        for (std::size_t steps = 0; link->child; ++steps) {
            if (steps == programs.size()) {
                return ProgramsError{program.line, "\"programs\": the children of program " +
                                                       Named(path) +
                                                       " start one another without end"};
            }
            link = &FindProgram(programs, drive, *HostFile(drive, *link->child))->second;
        }
    }
    return std::nullopt;
}

}  // namespace norvane::sim
