#pragma once

#include <QDialog>
#include <QTimer>

#include "protocol/ReaderProtocol.h"

class QProgressBar;

// Common part of the two dialogs that run a long reader operation behind a
// progress bar. The operation starts by itself 100 ms after the dialog has
// opened; while it runs the dialog is disabled and a byte hook advances the
// bar one step per received byte. The dialog then closes itself: accepted
// when the reader confirmed, rejected when it did not. Closing it before the
// start rejects it and sends nothing.
class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    QProgressBar* ProgressBar() const { return m_pBar; }

    void reject() override;
    void done(int result) override;

protected:
    CProgressDlg(CReaderProtocol* reader, const QString& title, int maximum, QWidget* parent);

    // The operation itself, run on the user-interface thread.
    virtual bool RunOperation(CReaderProtocol& reader) = 0;
    // Marks this dialog (or none) as the one whose bar the class's hook steps.
    virtual void SetRunning(bool running) = 0;
    virtual ByteHook ProgressHook() const = 0;

    // For the class's hook, on the monitor thread: queues one step of the bar.
    // The steps queued by one thread are handled in order, and all of them
    // before the dialog's own closing, which is queued after them.
    void QueueStep();

    void showEvent(QShowEvent* event) override;

private:
    void OnStartTimer();

    CReaderProtocol* m_pReader;
    QProgressBar* m_pBar;
    QTimer m_startTimer;
    bool m_bStarted = false;
    bool m_bRunning = false;
};
