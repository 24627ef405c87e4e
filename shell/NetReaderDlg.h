#pragma once

#include <QDialog>
#include <QString>

#include "link/NetAddress.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// "Netzwerk-Leser hinzufügen": host, port and kind of a reader behind a
// device server or ser2net. It ends with OK only for a well-formed address;
// the caller enters that address in the COM table.
class CNetReaderDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNetReaderDlg(QWidget* parent = nullptr);

    // The address entered; meaningful after the dialog ended with OK.
    const CNetAddress& Address() const { return m_address; }

public slots:
    void accept() override;

private:
    // The address as written from the three fields, brackets around an IPv6 host.
    QString AddressText() const;

    QLineEdit* m_edHost;
    QLineEdit* m_edPort;
    QComboBox* m_cbKind;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
    CNetAddress m_address;
};
