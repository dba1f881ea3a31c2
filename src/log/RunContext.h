// What every step of a run speaks through: the machine's services (or, in a preview, the layer
// over them), the texts of the chosen language and the log.
#pragma once

#include <memory>
#include <string>

#include "log/Log.h"
#include "log/Texts.h"
#include "platform/Platform.h"
#include "platform/preview/PreviewPlatform.h"

namespace norvane {

class RunContext {
public:
    explicit RunContext(platform::Platform& machine) : m_machine(machine) {}
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    // The services the run uses: the machine's, or in a preview the layer over them.
    platform::Platform& P() { return m_preview ? m_preview->Get() : m_machine; }
    // The machine's own services, which a preview does not stand in front of.
    platform::Platform& Machine() { return m_machine; }
    std::wstring LoadText(std::uint32_t id) const { return texts.Load(id); }

    // From here on the run changes nothing but the log: every change is recorded instead.
    void StartPreview() {
        m_preview = std::make_unique<preview::PreviewPlatform>(m_machine, log.Path());
    }
    bool Previewing() const { return m_preview != nullptr; }
    // The changes recorded since StartPreview; null when this is no preview.
    const preview::ChangeList* PreviewChanges() const {
        return m_preview ? &m_preview->Changes() : nullptr;
    }

    // An entry into the log, through the run's services.
    void WriteLog(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        log.Write(P(), section, key, value);
    }
    void WriteLogSections(const std::vector<LogSection>& sections) {
        log.WriteSections(P(), sections);
    }

    Texts texts;
    Log log;

private:
    platform::Platform& m_machine;
    std::unique_ptr<preview::PreviewPlatform> m_preview;
};

}  // namespace norvane
