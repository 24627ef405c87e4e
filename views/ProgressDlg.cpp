#include "views/ProgressDlg.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include "views/DialogControls.h"

namespace {
constexpr int kProgressBar = 1002;
constexpr int kStartDelayMs = 100;

// One step; past the maximum the bar starts again from the beginning.
void StepBar(QProgressBar* bar) {
    const int next = bar->value() + 1;
    bar->setValue(next > bar->maximum() ? bar->minimum() : next);
}
}  // namespace

CProgressDlg::CProgressDlg(CReaderProtocol* reader, const QString& title, int maximum,
                           QWidget* parent)
    : QDialog(parent), m_pReader(reader) {
    setWindowTitle(title);
    m_pBar = new QProgressBar(this);
    m_pBar->setObjectName(ControlName(kProgressBar));
    m_pBar->setRange(0, maximum);
    m_pBar->setValue(0);
    m_pBar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pBar);
    setMinimumWidth(440);  // the template's 291 dialog units, about

    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(kStartDelayMs);
    connect(&m_startTimer, &QTimer::timeout, this, &CProgressDlg::OnStartTimer);
}

void CProgressDlg::showEvent(QShowEvent* event) {
    if (!m_bStarted) {
        m_startTimer.start();
    }
    QDialog::showEvent(event);
}

void CProgressDlg::OnStartTimer() {
    SetRunning(true);
    m_bStarted = true;
    m_bRunning = true;
    setEnabled(false);
    m_pReader->m_pfnByteHook = ProgressHook();
    const bool ok = RunOperation(*m_pReader);
    m_pReader->m_pfnByteHook = nullptr;
    setEnabled(true);
    m_bRunning = false;
    SetRunning(false);
    // Queued behind the steps of every byte received so far.
    QMetaObject::invokeMethod(
        this, [this, ok] { done(ok ? Accepted : Rejected); }, Qt::QueuedConnection);
}

void CProgressDlg::QueueStep() {
    QMetaObject::invokeMethod(
        m_pBar, [bar = m_pBar] { StepBar(bar); }, Qt::QueuedConnection);
}

void CProgressDlg::reject() {
    // Neither Escape nor the close box may end the dialog while the reader works.
    if (m_bRunning) {
        return;
    }
    QDialog::reject();
}

void CProgressDlg::done(int result) {
    // Closed before the start: the operation must not start afterwards.
    m_startTimer.stop();
    m_bStarted = true;
    QDialog::done(result);
}
