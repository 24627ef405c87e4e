#pragma once

#include <QDialog>
#include <QString>

class CReaderProtocol;
class QPlainTextEdit;
class QPushButton;

// The extended reader's list of key numbers: read it into the edit, write
// the edit back, and switch the reader's Teach IN mode with a toggle button.
// The list is edited one key per line; towards the reader the lines are
// separated by CR LF. Writing an empty list erases every key in the reader
// and is asked first; closing while Teach IN is on asks whether to end it.
class CKeyNumbersDlg : public QDialog {
    Q_OBJECT
public:
    // reader: not owned, must outlive the dialog.
    explicit CKeyNumbersDlg(CReaderProtocol* reader, QWidget* parent = nullptr);

    QString m_strKeyList;     // shown when the dialog opens; read back by "Schliessen"
    bool m_bTeachIn = false;  // the button's state when the dialog opens; follows its presses

    void accept() override;
    void done(int result) override;

signals:
    // Teach IN was switched on or off ("T" or "X" written to the line).
    void TeachInChanged(bool on);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnReadKeys();
    void OnWriteKeys();
    void OnTeachIn(bool checked);
    void ReadEdit();

    CReaderProtocol* m_pReader;
    QPlainTextEdit* m_pEdit = nullptr;
    QPushButton* m_pTeachIn = nullptr;
};
