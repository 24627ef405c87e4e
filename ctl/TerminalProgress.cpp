#include "ctl/TerminalProgress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {
constexpr int kWidth = 40;
}  // namespace

std::atomic<unsigned> CTerminalProgress::s_steps{0};

CTerminalProgress::CTerminalProgress(unsigned range)
    : m_range(std::max(range, 1u)), m_bTerminal(::isatty(STDERR_FILENO) == 1) {
    s_steps = 0;
}

CTerminalProgress::~CTerminalProgress() {
    if (m_nShown >= 0) {
        std::fputc('\n', stderr);
    }
}

void CTerminalProgress::Hook(uint8_t) {
    s_steps.fetch_add(1, std::memory_order_relaxed);
}

void CTerminalProgress::Draw() {
    if (!m_bTerminal) {
        return;
    }
    const unsigned steps = std::min(s_steps.load(std::memory_order_relaxed), m_range);
    const int percent = static_cast<int>(100ull * steps / m_range);
    if (percent == m_nShown) {
        return;
    }
    m_nShown = percent;
    const int filled = percent * kWidth / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d %%", bar.c_str(), percent);
    std::fflush(stderr);
}
