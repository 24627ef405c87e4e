#pragma once

#include <QDialog>
#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/PortFacts.h"

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Schnittstelle": the operator picks a COM port or USB adapter, the baud
// rate and the reply time-out. It lists what is present when it opens,
// preselects the stored choice, and stores the choice under "Port" on OK.
// It opens nothing itself. Each entry's tool tip tells what Linux knows
// about the port, and the list follows adapters being plugged in or out
// while the dialog is open. A reader on the network can be added to the
// COM table from here and is then listed like the other ports.
class CInterfaceDlg : public QDialog {
    Q_OBJECT
public:
    // Fills the serial numbers of the free USB adapters and the COM ports present.
    using PortLister =
        std::function<void(std::vector<std::string>& usb, std::vector<std::string>& com)>;

    // The facts of the entries, in their order (the tool tips).
    using PortDescriber =
        std::function<std::vector<CPortFacts>(const std::vector<std::string>& entries)>;

    // Without a lister, a temporary engine that is never opened lists the
    // ports; without a describer, the port discovery describes them.
    explicit CInterfaceDlg(QWidget* parent = nullptr, PortLister lister = {},
                           PortDescriber describer = {});

    // A line above the list saying why the stored interface did not open;
    // an empty text hides it.
    void SetReason(const QString& reason);
    // The folders whose changes make the list be filled again (by default
    // /dev and /dev/serial/by-id, where ports come and go).
    void WatchFolders(const QStringList& folders);
    // The sysfs and /dev a new network reader's free COM number is judged
    // against (by default the system's).
    void SetDeviceRoots(std::string sysRoot, std::string devRoot);

    QComboBox* m_cbBaudRate;
    QListWidget* m_lbPorts;
    uint32_t m_nTimeout;
    QString m_strName;

public slots:
    void accept() override;  // OnOK

private slots:
    void OnSelchangePortList();
    void OnAddNetReader();

private:
    void BuildLayout();
    void OnInitDialog();
    void FillPorts();
    void RefreshPorts();
    void SelectStoredName();
    void AddSorted(const QString& text);
    bool ValidateTimeout();
    void BuildNetReaderButton(QBoxLayout* layout);
    bool SelectNumber(int number);

    PortLister m_lister;
    PortDescriber m_describer;
    QLabel* m_lblReason;
    QFileSystemWatcher m_watcher;
    QStringList m_watchFolders;
    QTimer m_refreshTimer;
    QLineEdit* m_edTimeout;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
    QPushButton* m_btnAddNetReader;
    std::string m_sysRoot = "/sys";
    std::string m_devRoot = "/dev";
};
