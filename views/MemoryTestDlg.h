#pragma once

#include <atomic>
#include <mutex>

#include "views/ProgressDlg.h"

// Runs the reader's memory test: 1024 progress bytes and a four-byte confirmation fill the bar.
class CMemoryTestDlg : public CProgressDlg {
    Q_OBJECT
public:
    // reader: not owned, must outlive the dialog.
    explicit CMemoryTestDlg(CReaderProtocol* reader, QWidget* parent = nullptr);

    // The dialog whose operation runs, or null. Written on the user-interface
    // thread only, under s_runningMutex, which the hook holds while it queues
    // a step: once cleared, no hook call can reach the dialog any more.
    static std::atomic<CMemoryTestDlg*> s_pRunning;

    // The byte hook: one step of the running dialog's bar per byte.
    static void OnProgressByte(uint8_t byte);

private:
    bool RunOperation(CReaderProtocol& reader) override;
    void SetRunning(bool running) override;
    ByteHook ProgressHook() const override { return &CMemoryTestDlg::OnProgressByte; }

    static std::mutex s_runningMutex;
};
