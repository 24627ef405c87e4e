#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Schnittstelle": the operator picks a COM port or USB adapter, the baud
// rate and the reply time-out. It lists what is present when it opens,
// preselects the stored choice, and stores the choice under "Port" on OK.
// It opens nothing itself.
class CInterfaceDlg : public QDialog {
    Q_OBJECT
public:
    // Fills the serial numbers of the free USB adapters and the COM ports present.
    using PortLister =
        std::function<void(std::vector<std::string>& usb, std::vector<std::string>& com)>;

    // Without a lister, a temporary engine that is never opened lists the ports.
    explicit CInterfaceDlg(QWidget* parent = nullptr, PortLister lister = {});

    QComboBox* m_cbBaudRate;
    QListWidget* m_lbPorts;
    uint32_t m_nTimeout;
    QString m_strName;

public slots:
    void accept() override;  // OnOK

private slots:
    void OnSelchangePortList();

private:
    void BuildLayout();
    void OnInitDialog(const PortLister& lister);
    void AddSorted(const QString& text);
    bool ValidateTimeout();

    QLineEdit* m_edTimeout;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};
