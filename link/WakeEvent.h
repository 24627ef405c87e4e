#pragma once

// A manual-reset wake-up event on an eventfd: Set from any thread, stays
// signalled (the descriptor polls readable) until Reset.
class CWakeEvent {
public:
    CWakeEvent() = default;
    ~CWakeEvent();

    CWakeEvent(const CWakeEvent&) = delete;
    CWakeEvent& operator=(const CWakeEvent&) = delete;

    bool Create();  // closes a previous descriptor first; created non-signalled
    void Close();
    bool IsValid() const { return m_fd >= 0; }
    bool Set();
    void Reset();
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
};
