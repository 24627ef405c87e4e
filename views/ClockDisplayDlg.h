#pragma once

#include <QDialog>
#include <QTimer>

#include <string>

class CReaderProtocol;
class QLineEdit;

// Shows the reader's clock and reads it again 500 ms after each read has
// ended, for as long as the dialog is open. A failed read keeps the last text.
class CClockDisplayDlg : public QDialog {
    Q_OBJECT
public:
    // reader: not owned, must outlive the dialog.
    explicit CClockDisplayDlg(CReaderProtocol* reader, QWidget* parent = nullptr);

    std::string m_strClock;  // the clock text; the caller puts the first one in

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnTimer();

    CReaderProtocol* m_pReader;
    QLineEdit* m_pEdit = nullptr;
    QTimer m_timer;
    bool m_bClosed = false;
};
