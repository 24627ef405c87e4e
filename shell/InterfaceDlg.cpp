#include "shell/InterfaceDlg.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/LinkTexts.h"
#include "common/PortSettings.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "common/Strings.h"
#include "link/ComTable.h"
#include "link/DeviceEntries.h"
#include "link/PortDiscovery.h"
#include "link/SerialEngine.h"
#include "shell/NetReaderDlg.h"
#include "shell/PlainToolTip.h"
#include "views/MessageBox.h"

namespace {

const QString kPort = QStringLiteral("Port");
constexpr qulonglong kMinTimeout = CPortSettings::kMinTimeoutMs;
constexpr qulonglong kMaxTimeout = CPortSettings::kMaxTimeoutMs;

// Plugging settles (node, then by-id link) before the list is filled again.
constexpr int kRefreshDelayMs = 300;

void ListWithTemporaryEngine(std::vector<std::string>& usb, std::vector<std::string>& com) {
    CSerialEngine engine;
    engine.ListUsbDevices(usb);
    engine.EnumerateComPorts(com);
}

std::vector<CPortFacts> DescribeWithDiscovery(const std::vector<std::string>& entries) {
    return CPortDiscovery().Describe(entries);
}

}  // namespace

CInterfaceDlg::CInterfaceDlg(QWidget* parent, PortLister lister, PortDescriber describer)
    : QDialog(parent),
      m_nTimeout(static_cast<uint32_t>(
          CSettingsStore::GetProfileInt(kPort, QStringLiteral("Timeout"), 500))),
      m_lister(lister ? std::move(lister) : PortLister(&ListWithTemporaryEngine)),
      m_describer(describer ? std::move(describer) : PortDescriber(&DescribeWithDiscovery)) {
    BuildLayout();
    OnInitDialog();
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CInterfaceDlg::RefreshPorts);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_refreshTimer,
            qOverload<>(&QTimer::start));
    WatchFolders({QStringLiteral("/dev"), QStringLiteral("/dev/serial/by-id")});
}

void CInterfaceDlg::SetReason(const QString& reason) {
    m_lblReason->setText(reason);
    m_lblReason->setVisible(!reason.isEmpty());
}

void CInterfaceDlg::WatchFolders(const QStringList& folders) {
    if (!m_watcher.directories().isEmpty()) {
        m_watcher.removePaths(m_watcher.directories());
    }
    m_watchFolders = folders;
    for (const QString& folder : folders) {
        if (QFileInfo(folder).isDir()) {
            m_watcher.addPath(folder);
        }
    }
}

void CInterfaceDlg::BuildLayout() {
    setObjectName(QStringLiteral("IDD_INTERFACE"));
    setWindowTitle(tr("Schnittstelle"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_btnOk = new QPushButton(tr("OK"), this);
    m_btnOk->setObjectName(QStringLiteral("IDOK"));
    m_btnOk->setDefault(true);
    m_btnCancel = new QPushButton(tr("Abbrechen"), this);
    m_btnCancel->setObjectName(QStringLiteral("IDCANCEL"));
    m_btnCancel->setAutoDefault(false);

    m_edTimeout = new QLineEdit(this);
    m_edTimeout->setObjectName(QStringLiteral("IDC_TIMEOUT"));
    m_edTimeout->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    auto* timeoutLabel = new QLabel(tr("Timeout in [ms]"), this);
    timeoutLabel->setBuddy(m_edTimeout);

    m_lbPorts = new QListWidget(this);
    m_lbPorts->setObjectName(QStringLiteral("IDC_PORT_LIST"));
    m_lbPorts->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* portGroup = new QGroupBox(tr("Schnittstelle auswählen"), this);
    m_lbPorts->setAccessibleName(portGroup->title());

    m_lblReason = new QLabel(this);
    m_lblReason->setObjectName(QStringLiteral("IDC_REASON"));
    m_lblReason->setWordWrap(true);
    m_lblReason->setTextFormat(Qt::PlainText);  // names of devices and programs, as they are
    m_lblReason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblReason->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);
    m_lblReason->hide();

    m_cbBaudRate = new QComboBox(this);
    m_cbBaudRate->setObjectName(QStringLiteral("IDC_BAUDRATE"));
    m_cbBaudRate->addItems({QStringLiteral("9600"), QStringLiteral("19200")});
    auto* baudLabel = new QLabel(tr("Baudrate"), this);
    baudLabel->setBuddy(m_cbBaudRate);

    auto* groupLayout = new QVBoxLayout(portGroup);
    groupLayout->addWidget(m_lbPorts);

    auto* fields = new QGridLayout;
    fields->addWidget(baudLabel, 0, 0);
    fields->addWidget(m_cbBaudRate, 0, 1);
    fields->addWidget(timeoutLabel, 1, 0);
    fields->addWidget(m_edTimeout, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblReason);
    layout->addWidget(portGroup, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_lbPorts->setMinimumSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 26,
                              fontMetrics().height() * 7);

    // As the controls are seen, top to bottom; the focus starts on OK.
    setTabOrder(m_lbPorts, m_cbBaudRate);
    setTabOrder(m_cbBaudRate, m_edTimeout);
    setTabOrder(m_edTimeout, m_btnOk);
    setTabOrder(m_btnOk, m_btnCancel);

    connect(m_btnOk, &QPushButton::clicked, this, &CInterfaceDlg::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &CInterfaceDlg::reject);
    connect(m_lbPorts, &QListWidget::itemSelectionChanged, this,
            &CInterfaceDlg::OnSelchangePortList);
    BuildNetReaderButton(layout);
}

void CInterfaceDlg::OnInitDialog() {
    m_edTimeout->setText(QString::number(m_nTimeout));

    const QString baudText =
        QString::number(CSettingsStore::GetProfileInt(kPort, QStringLiteral("Baudrate"), 19200));
    m_cbBaudRate->setCurrentIndex(-1);
    for (int i = 0; i < m_cbBaudRate->count(); ++i) {
        if (m_cbBaudRate->itemText(i).startsWith(baudText, Qt::CaseInsensitive)) {
            m_cbBaudRate->setCurrentIndex(i);
            break;
        }
    }

    FillPorts();
    m_strName = CSettingsStore::GetProfileString(kPort, QStringLiteral("Name"));
    if (m_strName.isEmpty()) {
        m_strName = QStringLiteral("COM1");
        CSettingsStore::WriteProfileString(kPort, QStringLiteral("Name"), m_strName);
    }
    SelectStoredName();
    OnSelchangePortList();
    m_btnOk->setFocus();
}

void CInterfaceDlg::FillPorts() {
    m_lbPorts->clear();
    std::vector<std::string> usb;
    std::vector<std::string> com;
    m_lister(usb, com);
    for (const std::string& entry : com) {
        QString text = QString::fromStdString(entry);
        if (text.startsWith(QStringLiteral("\\\\.\\"))) {
            text.remove(0, 4);
        }
        AddSorted(text);
    }
    for (const std::string& serial : usb) {
        AddSorted(QStringLiteral("USB: ") + QString::fromStdString(serial));
    }
    std::vector<std::string> entries;
    for (int i = 0; i < m_lbPorts->count(); ++i) {
        entries.push_back(m_lbPorts->item(i)->text().toStdString());
    }
    const std::vector<CPortFacts> facts = m_describer(entries);
    for (size_t i = 0; i < facts.size() && i < entries.size(); ++i) {
        m_lbPorts->item(static_cast<int>(i))->setToolTip(PlainToolTip(LinkTexts::Facts(facts[i])));
    }
}

void CInterfaceDlg::SelectStoredName() {
    for (int i = 0; i < m_lbPorts->count(); ++i) {
        if (m_lbPorts->item(i)->text().startsWith(m_strName, Qt::CaseInsensitive)) {
            m_lbPorts->setCurrentRow(i);
            break;
        }
    }
}

// Keeps the operator's selection when its port is still there; with none,
// a port that matches the stored name (the adapter just plugged in) is taken.
void CInterfaceDlg::RefreshPorts() {
    const QList<QListWidgetItem*> selected = m_lbPorts->selectedItems();
    const QString previous = selected.isEmpty() ? QString() : selected.front()->text();
    FillPorts();
    const auto again = m_lbPorts->findItems(previous, Qt::MatchExactly);
    if (!previous.isEmpty() && !again.isEmpty()) {
        m_lbPorts->setCurrentItem(again.front());
    } else if (previous.isEmpty()) {
        SelectStoredName();
    }
    OnSelchangePortList();
    // A folder made meanwhile (the first adapter's by-id folder) is watched from now on.
    WatchFolders(m_watchFolders);
}

void CInterfaceDlg::AddSorted(const QString& text) {
    int row = 0;
    while (row < m_lbPorts->count() &&
           QString::compare(m_lbPorts->item(row)->text(), text, Qt::CaseInsensitive) <= 0) {
        ++row;
    }
    m_lbPorts->insertItem(row, text);
}

void CInterfaceDlg::OnSelchangePortList() {
    const QList<QListWidgetItem*> selected = m_lbPorts->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    if (selected.front()->text().startsWith(QStringLiteral("USB: "))) {
        // An adapter always runs at 19200 baud.
        m_cbBaudRate->setEnabled(false);
        for (int i = 0; i < m_cbBaudRate->count(); ++i) {
            if (m_cbBaudRate->itemText(i).startsWith(QStringLiteral("19200"))) {
                m_cbBaudRate->setCurrentIndex(i);
                break;
            }
        }
    } else {
        m_cbBaudRate->setEnabled(true);
    }
}

bool CInterfaceDlg::ValidateTimeout() {
    const QString text = m_edTimeout->text().trimmed();
    bool isNumber = !text.isEmpty();
    for (const QChar ch : text) {
        isNumber = isNumber && ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
    }
    bool fits = false;
    const qulonglong value = isNumber ? text.toULongLong(&fits) : 0;
    if (!isNumber) {
        ShowMessage(Res::IDP_PARSE_UINT, MsgStyle::OkExclamation, this);
    } else if (!fits || value < kMinTimeout || value > kMaxTimeout) {
        ShowMessage(LoadString(Res::IDP_PARSE_INT_RANGE).arg(kMinTimeout).arg(kMaxTimeout),
                    MsgStyle::OkExclamation, this);
    } else {
        m_nTimeout = static_cast<uint32_t>(value);
        return true;
    }
    m_edTimeout->setFocus();
    m_edTimeout->selectAll();
    return false;
}

void CInterfaceDlg::accept() {
    if (!ValidateTimeout()) {
        return;
    }
    const QList<QListWidgetItem*> selected = m_lbPorts->selectedItems();
    if (!selected.isEmpty()) {
        CSettingsStore::WriteProfileString(kPort, QStringLiteral("Name"), selected.front()->text());
    }
    if (m_cbBaudRate->currentIndex() >= 0) {
        const QString text = m_cbBaudRate->currentText();
        qsizetype digits = 0;
        while (digits < text.size() && text[digits].isDigit()) {
            ++digits;
        }
        CSettingsStore::WriteProfileInt(kPort, QStringLiteral("Baudrate"),
                                        text.left(digits).toInt());
    }
    CSettingsStore::WriteProfileInt(kPort, QStringLiteral("Timeout"), static_cast<int>(m_nTimeout));
    QDialog::accept();
}

void CInterfaceDlg::SetDeviceRoots(std::string sysRoot, std::string devRoot) {
    m_sysRoot = std::move(sysRoot);
    m_devRoot = std::move(devRoot);
}

// Last in the dialog and in the tab order, after the controls every
// operator knows.
void CInterfaceDlg::BuildNetReaderButton(QBoxLayout* layout) {
    m_btnAddNetReader = new QPushButton(tr("&Netzwerk-Leser hinzufügen…"), this);
    m_btnAddNetReader->setObjectName(QStringLiteral("IDC_ADD_NET_READER"));
    m_btnAddNetReader->setAccessibleName(tr("Netzwerk-Leser hinzufügen"));
    layout->addWidget(m_btnAddNetReader);
    setTabOrder(m_btnCancel, m_btnAddNetReader);
    connect(m_btnAddNetReader, &QPushButton::clicked, this, &CInterfaceDlg::OnAddNetReader);
}

// Enters the address under a free COM number (or finds the entry that
// already names it), lists the ports again and selects it.
void CInterfaceDlg::OnAddNetReader() {
    CNetReaderDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    CComTable table(DeviceEntries(), m_sysRoot, m_devRoot);
    int number = table.NumberOfAddress(dialog.Address());
    if (number == 0) {
        number = table.FreeNumber();
        if (number == 0) {
            ShowMessage(Res::IDS_NET_NO_FREE_NUMBER, MsgStyle::OkExclamation, this);
            return;
        }
        if (!table.Enter(number, dialog.Address().ToString())) {
            ShowMessage(LoadString(Res::IDS_NET_NOT_STORED).arg(number), MsgStyle::OkExclamation,
                        this);
            return;
        }
    }
    const QList<QListWidgetItem*> selected = m_lbPorts->selectedItems();
    const QString previous = selected.isEmpty() ? QString() : selected.front()->text();
    FillPorts();
    if (!SelectNumber(number)) {
        const auto again = m_lbPorts->findItems(previous, Qt::MatchExactly);
        if (!again.isEmpty()) {
            m_lbPorts->setCurrentItem(again.front());
        }
    }
    OnSelchangePortList();
    m_lbPorts->setFocus();
}

bool CInterfaceDlg::SelectNumber(int number) {
    for (int i = 0; i < m_lbPorts->count(); ++i) {
        if (CComTable::NumberOfName(m_lbPorts->item(i)->text().toStdString()) == number) {
            m_lbPorts->setCurrentRow(i);
            return true;
        }
    }
    return false;
}
