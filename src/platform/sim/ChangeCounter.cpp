#include "platform/sim/ChangeCounter.h"

namespace norvane::sim {

void ChangeCounter::CutOffAfter(std::uint64_t limit, std::function<void(std::uint64_t)> cut) {
    m_limit = limit;
    m_cut = std::move(cut);
}

void ChangeCounter::Changed() {
    if (m_depth > 0) {
        m_changedInCall = true;
        return;
    }
    Add();
}

void ChangeCounter::Add() {
    ++m_count;
    if (m_limit && m_count >= *m_limit) {
        // Once: what runs after the cut (the final save, the programs left running) is not cut.
        m_limit.reset();
        m_cut(m_count);
    }
}

ChangeCounter::Call::Call(ChangeCounter* counter) : m_counter(counter) {
    if (m_counter)
        ++m_counter->m_depth;
}

ChangeCounter::Call::~Call() {
    if (!m_counter || --m_counter->m_depth > 0 || !m_counter->m_changedInCall)
        return;
    m_counter->m_changedInCall = false;
    m_counter->Add();
}

}  // namespace norvane::sim
