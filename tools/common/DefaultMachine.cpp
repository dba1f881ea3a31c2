#include "DefaultMachine.h"

#include <cstdio>
#include <cstdlib>

namespace fs = std::filesystem;

namespace norvane::tools {

bool DefaultMachine(const char* program, fs::path& folder) {
    if (const char* env = std::getenv("NORVANE_MACHINE"); env && *env) {
        folder = env;
        return true;
    }
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base =
        data && *data ? fs::path(data) : fs::path(home ? home : ".") / ".local/share";
    folder = base / "norvane" / "demo-machine";
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        fs::create_directories(folder.parent_path(), ec);
        fs::copy(NORVANE_DEMO_MACHINE, folder, fs::copy_options::recursive, ec);
        if (ec) {
            std::fprintf(stderr, "%s: cannot copy the demo machine to %s: %s\n", program,
                         folder.c_str(), ec.message().c_str());
            return false;
        }
        std::fprintf(stderr, "%s: made a copy of the demo machine at %s\n", program,
                     folder.c_str());
    }
    std::fprintf(stderr, "%s: machine %s\n", program, folder.c_str());
    return true;
}

}  // namespace norvane::tools
