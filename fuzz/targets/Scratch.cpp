#include "targets/Scratch.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace norvane::fuzz {
namespace fs = std::filesystem;

namespace {

struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("norvane-fuzz-" + std::to_string(getpid()));
    ScratchFolder() { fs::create_directories(path); }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

}  // namespace

fs::path ScratchPath(const char* name) {
    static const ScratchFolder folder;
    return folder.path / name;
}

fs::path WriteScratch(const char* name, const std::uint8_t* data, std::size_t size) {
    const fs::path path = ScratchPath(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace norvane::fuzz
