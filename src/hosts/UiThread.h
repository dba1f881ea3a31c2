// The dialog thread of the simulated machine and the worker threads under it. The machine (its
// registry, files, clock and journal) is used by one thread at a time: the dialog thread holds it
// except while it waits in Pump, and a worker holds it from its start to its end except while it
// waits for a call it sent to the dialog thread. A run is therefore as repeatable as a run on one
// thread, and what the worker sends is handled on the dialog thread before the worker goes on.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Dialogs.h"

namespace norvane::hosts {

class UiThread {
public:
    // The calling thread becomes the dialog thread.
    UiThread();

    // Called on the dialog thread after each call sent to it has run.
    void OnSent(std::function<void()> hook) { m_onSent = std::move(hook); }
    void Send(const std::function<void()>& call);
    std::unique_ptr<platform::WorkerThread> CreateSuspended(std::function<void()> body);
    // On the dialog thread: lets a running worker use the machine until it sends a call (which
    // then runs here) or ends. Returns at once when no worker runs.
    void Pump();
    bool WorkerRunning();

private:
    friend class HostedWorker;
    enum class Owner { Dialog, Worker };

    std::thread::id m_dialogThread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Owner m_owner = Owner::Dialog;
    int m_running = 0;                                 // workers resumed and not yet ended
    const std::function<void()>* m_pending = nullptr;  // a call sent by the worker
    std::function<void()> m_onSent;
};

}  // namespace norvane::hosts
