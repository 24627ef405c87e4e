#include "views/MemoryTestDlg.h"

namespace {
// 1024 progress bytes and the four-byte confirmation.
constexpr int kBarMaximum = 1024 + 4;
}  // namespace

std::atomic<CMemoryTestDlg*> CMemoryTestDlg::s_pRunning{nullptr};
std::mutex CMemoryTestDlg::s_runningMutex;

CMemoryTestDlg::CMemoryTestDlg(CReaderProtocol* reader, QWidget* parent)
    : CProgressDlg(reader, tr("Speichertest"), kBarMaximum, parent) {}

void CMemoryTestDlg::OnProgressByte(uint8_t /*byte*/) {
    const std::lock_guard<std::mutex> lock(s_runningMutex);
    if (CMemoryTestDlg* dialog = s_pRunning.load()) {
        dialog->QueueStep();
    }
}

bool CMemoryTestDlg::RunOperation(CReaderProtocol& reader) {
    return reader.MemoryTest();
}

void CMemoryTestDlg::SetRunning(bool running) {
    const std::lock_guard<std::mutex> lock(s_runningMutex);
    s_pRunning = running ? this : nullptr;
}
