#pragma once

#include <QDialog>

class CReaderProtocol;
class QLineEdit;

// The extended reader's three timing values in seconds and its reset. Each
// "Setzen" sends its own value only, but all three edits must hold whole
// numbers from 0 to 999 before any is sent. "Reset" does not look at the
// edits and asks first. Every send is reported. There is no default button.
class CParametersDlg : public QDialog {
    Q_OBJECT
public:
    // reader: not owned, must outlive the dialog.
    explicit CParametersDlg(CReaderProtocol* reader, QWidget* parent = nullptr);

    // Shown when the dialog opens: the reader's values where they are known.
    int m_nHoldTime = 0;     // edit 1013, "H"
    int m_nOpeningTime = 0;  // edit 1012, "Z"
    int m_nDelayTime = 0;    // edit 1011, "V"

signals:
    // The reader confirmed a timing value (letter V, Z or H), or the reset
    // to the factory values, which the edits then show.
    void TimingConfirmed(char letter, int seconds);
    void ResetConfirmed();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Reads the three edits in the order hold, opening, delay; stops at the
    // first invalid one, reports it and puts the focus there.
    bool ReadEdits();
    void ShowValues();
    bool ReadValue(QLineEdit* edit, int& value);
    void SendValue(char letter, int CParametersDlg::*value);
    void OnReset();

    CReaderProtocol* m_pReader;
    QLineEdit* m_pDelayEdit = nullptr;
    QLineEdit* m_pOpeningEdit = nullptr;
    QLineEdit* m_pHoldEdit = nullptr;
};
