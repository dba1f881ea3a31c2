#include "hosts/UiThread.h"

namespace norvane::hosts {

class HostedWorker final : public platform::WorkerThread {
public:
    HostedWorker(UiThread& ui, std::function<void()> body)
        : m_ui(ui), m_thread([this, run = std::move(body)] { Main(run); }) {}

    ~HostedWorker() override {
        {
            std::lock_guard lock(m_ui.m_mutex);
            m_abandoned = !m_resumed;
        }
        m_ui.m_changed.notify_all();
        if (!m_abandoned)
            Wait();
        m_thread.join();
    }

    bool Resume() override {
        std::lock_guard lock(m_ui.m_mutex);
        if (m_resumed)
            return false;
        m_resumed = true;
        ++m_ui.m_running;
        return true;
    }

    bool Finished() const override {
        std::lock_guard lock(m_ui.m_mutex);
        return m_finished;
    }

    void Wait() override {
        while (Resumed() && !Finished())
            m_ui.Pump();
    }

private:
    bool Resumed() const {
        std::lock_guard lock(m_ui.m_mutex);
        return m_resumed;
    }

    void Main(const std::function<void()>& body) {
        {
            std::unique_lock lock(m_ui.m_mutex);
            m_ui.m_changed.wait(lock, [&] {
                return m_abandoned || (m_resumed && m_ui.m_owner == UiThread::Owner::Worker);
            });
            if (m_abandoned)
                return;
        }
        body();
        {
            std::lock_guard lock(m_ui.m_mutex);
            m_finished = true;
            --m_ui.m_running;
            m_ui.m_owner = UiThread::Owner::Dialog;
        }
        m_ui.m_changed.notify_all();
    }

    UiThread& m_ui;
    bool m_resumed = false;
    bool m_finished = false;
    bool m_abandoned = false;
    std::thread m_thread;
};

UiThread::UiThread() : m_dialogThread(std::this_thread::get_id()) {}

void UiThread::Send(const std::function<void()>& call) {
    if (std::this_thread::get_id() == m_dialogThread) {
        call();
        if (m_onSent)
            m_onSent();
        return;
    }
    std::unique_lock lock(m_mutex);
    m_pending = &call;
    m_owner = Owner::Dialog;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_pending == nullptr && m_owner == Owner::Worker; });
}

std::unique_ptr<platform::WorkerThread> UiThread::CreateSuspended(std::function<void()> body) {
    return std::make_unique<HostedWorker>(*this, std::move(body));
}

bool UiThread::WorkerRunning() {
    std::lock_guard lock(m_mutex);
    return m_running > 0;
}

void UiThread::Pump() {
    const std::function<void()>* call = nullptr;
    {
        std::unique_lock lock(m_mutex);
        if (m_running == 0)
            return;
        m_owner = Owner::Worker;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_owner == Owner::Dialog; });
        call = m_pending;
    }
    if (!call)
        return;
    (*call)();
    if (m_onSent)
        m_onSent();
    {
        std::lock_guard lock(m_mutex);
        m_pending = nullptr;
    }
}

}  // namespace norvane::hosts
