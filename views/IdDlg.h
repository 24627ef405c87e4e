#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// Asks for the reader's ID number: exactly two digits, "01" at first.
class CIdDlg : public QDialog {
    Q_OBJECT
public:
    explicit CIdDlg(QWidget* parent = nullptr);

    QString m_strId = QStringLiteral("01");  // shown when the dialog opens, read by "Setzen"

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RefuseInput(const QString& message, bool exclamation);

    QLineEdit* m_pEdit = nullptr;
};
