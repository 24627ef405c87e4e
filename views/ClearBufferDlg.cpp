#include "views/ClearBufferDlg.h"

namespace {
// 512 progress bytes and the four-byte confirmation.
constexpr int kBarMaximum = 512 + 4;
}  // namespace

std::atomic<CClearBufferDlg*> CClearBufferDlg::s_pRunning{nullptr};
std::mutex CClearBufferDlg::s_runningMutex;

CClearBufferDlg::CClearBufferDlg(CReaderProtocol* reader, QWidget* parent)
    : CProgressDlg(reader, tr("Datenpuffer löschen"), kBarMaximum, parent) {}

void CClearBufferDlg::OnProgressByte(uint8_t /*byte*/) {
    const std::lock_guard<std::mutex> lock(s_runningMutex);
    if (CClearBufferDlg* dialog = s_pRunning.load()) {
        dialog->QueueStep();
    }
}

bool CClearBufferDlg::RunOperation(CReaderProtocol& reader) {
    return reader.ClearBuffer();
}

void CClearBufferDlg::SetRunning(bool running) {
    const std::lock_guard<std::mutex> lock(s_runningMutex);
    s_pRunning = running ? this : nullptr;
}
