// What every step of a run speaks through: the machine's services (or, in a preview, the layer
// over them; with a trace, the trace over either), the texts of the chosen language and the log.
#pragma once

#include <memory>
#include <string>

#include "log/Log.h"
#include "log/Texts.h"
#include "platform/Platform.h"
#include "platform/preview/PreviewPlatform.h"
#include "platform/trace/TracePlatform.h"

namespace norvane {

class RunContext {
public:
    explicit RunContext(platform::Platform& machine) : m_machine(machine) {}
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    // The services the run uses: the machine's, or in a preview the layer over them, under the
    // trace when there is one.
    platform::Platform& P() { return m_trace ? m_trace->Get() : Below(); }
    // The machine's own services, which a preview does not stand in front of.
    platform::Platform& Machine() { return m_machine; }
    std::wstring LoadText(std::uint32_t id) const { return texts.Load(id); }

    // From here on the run changes nothing but the log: every change is recorded instead.
    void StartPreview() {
        m_preview = std::make_unique<preview::PreviewPlatform>(m_machine, log.Path());
        if (m_traceFile)
            m_trace = std::make_unique<trace::TracePlatform>(Below(), *m_traceFile);
    }
    // From here on every change, wait, program and message box of the run is written to `path`
    // as well, over the preview when there is one; the first line names the run. A trace that
    // cannot be written is handed to `failed`, once.
    void StartTrace(const std::wstring& path, const std::wstring& program,
                    const std::wstring& commandLine, trace::TraceFile::FailureReport failed) {
        m_traceFile =
            std::make_unique<trace::TraceFile>(m_machine, path, log.Path(), std::move(failed));
        m_trace = std::make_unique<trace::TracePlatform>(Below(), *m_traceFile);
        trace::TraceStart(*m_traceFile, m_machine, program, commandLine);
    }
    // The trace, null when the run keeps none.
    trace::TraceFile* Trace() { return m_traceFile.get(); }
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
    platform::Platform& Below() { return m_preview ? m_preview->Get() : m_machine; }

    std::unique_ptr<preview::PreviewPlatform> m_preview;
    std::unique_ptr<trace::TraceFile> m_traceFile;
    std::unique_ptr<trace::TracePlatform> m_trace;
};

}  // namespace norvane
