// What a run waits on and asks under a trace: every sleep with its length, every message box
// with its answer, the restart as a change; everything else passes through untold.
#pragma once

#include "platform/Clock.h"
#include "platform/Security.h"
#include "platform/Ui.h"
#include "platform/trace/TraceFile.h"

namespace norvane::trace {

class TraceClock : public platform::Clock {
public:
    TraceClock(platform::Clock& below, TraceFile& trace) : m_below(below), m_trace(trace) {}

    void Sleep(std::uint32_t milliseconds) override;
    platform::LocalTime Now() override { return m_below.Now(); }
    std::int32_t TimeZoneBias() override { return m_below.TimeZoneBias(); }

private:
    platform::Clock& m_below;
    TraceFile& m_trace;
};

class TraceSecurity : public platform::Security {
public:
    TraceSecurity(platform::Security& below, TraceFile& trace) : m_below(below), m_trace(trace) {}

    platform::WinError IsAdministrator(bool& member) override {
        return m_below.IsAdministrator(member);
    }
    platform::WinError EnableShutdownPrivilege() override {
        return m_below.EnableShutdownPrivilege();
    }
    platform::WinError Restart() override;

private:
    platform::Security& m_below;
    TraceFile& m_trace;
};

class TraceUi : public platform::Ui {
public:
    TraceUi(platform::Ui& below, TraceFile& trace) : m_below(below), m_trace(trace) {}

    bool InitCommonControls() override { return m_below.InitCommonControls(); }
    int MessageBox(const std::wstring& text, const std::wstring& caption,
                   std::uint32_t type) override;
    bool ActivateWindow(const std::wstring& className, const std::wstring& title) override {
        return m_below.ActivateWindow(className, title);
    }
    int ShowDialog(platform::Dialog& dialog) override { return m_below.ShowDialog(dialog); }
    void Send(const std::function<void()>& call) override { m_below.Send(call); }
    std::unique_ptr<platform::WorkerThread> CreateSuspendedThread(
        std::function<void()> body) override {
        return m_below.CreateSuspendedThread(std::move(body));
    }
    void HtmlHelp(const std::wstring& path, std::uint32_t context) override {
        m_below.HtmlHelp(path, context);
    }

private:
    platform::Ui& m_below;
    TraceFile& m_trace;
};

}  // namespace norvane::trace
