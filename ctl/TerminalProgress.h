#pragma once

#include <atomic>
#include <cstdint>

// A progress bar on standard error while the reader clears its buffer or
// tests its memory: one step per byte the reader sends, as in the window's
// progress dialogs. Draws nothing when standard error is no terminal, so
// that logs of scripts and timers stay clean. One at a time.
class CTerminalProgress {
public:
    explicit CTerminalProgress(unsigned range);
    ~CTerminalProgress();  // ends the bar's line
    CTerminalProgress(const CTerminalProgress&) = delete;
    CTerminalProgress& operator=(const CTerminalProgress&) = delete;

    // The byte hook that counts the steps; called on the monitor thread.
    static void Hook(uint8_t byte);
    // Draws the bar again if it moved; called from the reply wait.
    void Draw();

private:
    static std::atomic<unsigned> s_steps;
    const unsigned m_range;
    const bool m_bTerminal;
    int m_nShown = -1;  // the percentage drawn last
};
