// The machine's services with a preview layer over every one that can change the machine: the
// run that uses them decides everything as a real run would, and the machine stays as it was,
// but for the log.
#pragma once

#include "platform/Platform.h"
#include "platform/preview/ChangeList.h"
#include "platform/preview/PreviewFileSystem.h"
#include "platform/preview/PreviewProcesses.h"
#include "platform/preview/PreviewProfile.h"
#include "platform/preview/PreviewRegistry.h"
#include "platform/preview/PreviewSecurity.h"
#include "platform/preview/PreviewSpooler.h"

namespace norvane::preview {

class PreviewPlatform {
public:
    // `logFile` is the one file the run writes for real.
    PreviewPlatform(platform::Platform& machine, const std::wstring& logFile);
    PreviewPlatform(const PreviewPlatform&) = delete;
    PreviewPlatform& operator=(const PreviewPlatform&) = delete;

    platform::Platform& Get() { return m_platform; }
    const ChangeList& Changes() const { return m_changes; }

private:
    ChangeList m_changes;
    PreviewSpooler m_spooler;
    PreviewRegistry m_registry;
    PreviewFileSystem m_files;
    PreviewProfile m_profile;
    PreviewProcesses m_processes;
    PreviewSecurity m_security;
    platform::Platform m_platform;
};

}  // namespace norvane::preview
