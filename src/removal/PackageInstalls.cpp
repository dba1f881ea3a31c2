#include "removal/PackageInstalls.h"

#include "removal/DriverPackages.h"
#include "support/Text.h"

namespace norvane {
namespace {

std::wstring Folded(const std::wstring& name) {
    return text::FoldedName(text::Trim(name));
}

}  // namespace

PackageInstalls PackageInstalls::Read(platform::Platform& platform, const Inventory& inventory,
                                      DriverPackages& packages, const std::wstring& maker) {
    PackageInstalls installs;
    for (const auto& driver : inventory.m_arrDriver) {
        if (!driver->Selected())
            continue;
        const ModelInstalls model = packages.Installs(platform, driver->DriverName(), maker);
        std::wstring infs;
        for (const auto& inf : model.infs)
            infs += (infs.empty() ? L"" : L", ") + inf;
        installs.Add(driver->DriverName(), infs, model.printProcessors, model.monitors,
                     model.files);
    }
    return installs;
}

void PackageInstalls::Add(const std::wstring& driver, const std::wstring& infs,
                          const std::vector<std::wstring>& printProcessors,
                          const std::vector<std::wstring>& monitors,
                          const std::vector<std::wstring>& files) {
    m_infs[Folded(driver)] = infs;
    for (const auto& name : printProcessors)
        m_printProcessors.insert(Folded(name));
    for (const auto& name : monitors)
        m_monitors.insert(Folded(name));
    for (const auto& name : files)
        m_files.insert(Folded(name));
}

bool PackageInstalls::CopiesFileOf(const std::wstring& file) const {
    const auto slash = file.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
    return !name.empty() && m_files.contains(Folded(name));
}

bool PackageInstalls::InstallsPrintProcessor(const std::wstring& name,
                                             const std::wstring& file) const {
    return m_printProcessors.contains(Folded(name)) || CopiesFileOf(file);
}

bool PackageInstalls::InstallsMonitor(const std::wstring& name, const std::wstring& file) const {
    return m_monitors.contains(Folded(name)) || CopiesFileOf(file);
}

std::wstring PackageInstalls::InfsOf(const std::wstring& driver) const {
    const auto found = m_infs.find(Folded(driver));
    return found == m_infs.end() ? L"" : found->second;
}

}  // namespace norvane
