// The Resources service of the simulated machine: a language library is a file holding
// resource-script text, loaded as LoadLibraryW loads a DLL and failing where it would fail.
#pragma once

#include "platform/Resources.h"
#include "platform/sim/SimFileSystem.h"

namespace norvane::sim {

class SimResources final : public platform::Resources {
public:
    explicit SimResources(SimFileSystem& files) : m_files(files) {}

    platform::WinError LoadLibrary(const std::wstring& path,
                                   std::unique_ptr<platform::ResourceLibrary>& library) override;

private:
    SimFileSystem& m_files;
};

}  // namespace norvane::sim
