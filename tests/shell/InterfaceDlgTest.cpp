#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <memory>

#include "FakeSysfs.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "common/Strings.h"
#include "link/PortDiscovery.h"
#include "shell/InterfaceDlg.h"
#include "shell/NetReaderDlg.h"
#include "tests/GuiTestSupport.h"

namespace {

using Ports = std::vector<std::string>;

CInterfaceDlg::PortLister Lister(Ports usb, Ports com) {
    return [usb, com](Ports& outUsb, Ports& outCom) {
        outUsb.insert(outUsb.end(), usb.begin(), usb.end());
        outCom.insert(outCom.end(), com.begin(), com.end());
    };
}

QStringList Entries(const CInterfaceDlg& dialog) {
    QStringList entries;
    for (int i = 0; i < dialog.m_lbPorts->count(); ++i) {
        entries << dialog.m_lbPorts->item(i)->text();
    }
    return entries;
}

QString Selected(const CInterfaceDlg& dialog) {
    const auto items = dialog.m_lbPorts->selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

void SelectRow(CInterfaceDlg& dialog, const QString& text) {
    const auto items = dialog.m_lbPorts->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    const QRect rect = dialog.m_lbPorts->visualItemRect(items.front());
    QTest::mouseClick(dialog.m_lbPorts->viewport(), Qt::LeftButton, {}, rect.center());
}

// A step that sets the time-out text and presses OK.
CModalScript::Action EnterTimeoutAndOk(const QString& timeout) {
    return [timeout](QWidget* w) {
        auto* edit = w->findChild<QLineEdit*>("IDC_TIMEOUT");
        edit->clear();
        QTest::keyClicks(edit, timeout);
        QTest::mouseClick(w->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
    };
}

// Runs the dialog modally after the steps already given, and then sets the
// time-out and presses OK.
int RunWithTimeout(CInterfaceDlg& dialog, const QString& timeout, CModalScript& driver) {
    driver.Then(Is<CInterfaceDlg>, EnterTimeoutAndOk(timeout));
    return dialog.exec();
}

TEST(InterfaceDlg, ListsPortsWithoutDevicePrefixSortedWithoutRegardToCase) {
    CTempSettings store;
    CInterfaceDlg dialog(nullptr, Lister({"FT4Z91QA", "a1b2"}, {"\\\\.\\COM2", "COM10 [usb serial]",
                                                                "\\\\.\\COM12", "com1"}));
    EXPECT_EQ(Entries(dialog), QStringList({"com1", "COM10 [usb serial]", "COM12", "COM2",
                                            "USB: a1b2", "USB: FT4Z91QA"}));
}

TEST(InterfaceDlg, TemplateControlsTextsAndTabOrder) {
    CTempSettings store;
    CInterfaceDlg dialog(nullptr, Lister({}, {"COM1"}));
    EXPECT_EQ(dialog.windowTitle(), "Schnittstelle");
    auto* ok = dialog.findChild<QPushButton*>("IDOK");
    auto* cancel = dialog.findChild<QPushButton*>("IDCANCEL");
    auto* edit = dialog.findChild<QLineEdit*>("IDC_TIMEOUT");
    ASSERT_TRUE(ok && cancel && edit);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), "Abbrechen");
    EXPECT_EQ(dialog.m_cbBaudRate->objectName(), "IDC_BAUDRATE");
    EXPECT_EQ(dialog.m_lbPorts->objectName(), "IDC_PORT_LIST");
    EXPECT_EQ(dialog.m_cbBaudRate->count(), 2);
    EXPECT_EQ(dialog.m_cbBaudRate->itemText(0), "9600");
    EXPECT_EQ(dialog.m_cbBaudRate->itemText(1), "19200");

    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(WaitUntil([&] { return dialog.focusWidget() == ok; }));
    auto* addNet = dialog.findChild<QPushButton*>("IDC_ADD_NET_READER");
    ASSERT_TRUE(addNet);
    // Top to bottom as the controls are seen, from OK on.
    const std::vector<QWidget*> order = {cancel, addNet, dialog.m_lbPorts, dialog.m_cbBaudRate,
                                         edit,   ok};
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected)
            << QApplication::focusWidget()->objectName().toStdString();
    }
    // Only digits can be typed into the time-out.
    edit->clear();
    QTest::keyClicks(edit, "1a2-3");
    EXPECT_EQ(edit->text(), "123");
}

TEST(InterfaceDlg, StoredNameSelectsTheFirstEntryItBegins) {
    CTempSettings store;
    CSettingsStore::WriteProfileString("Port", "Name", "com1");
    {
        CInterfaceDlg dialog(nullptr, Lister({}, {"COM10", "COM1", "COM2"}));
        EXPECT_EQ(Selected(dialog), "COM1");
    }
    {
        CInterfaceDlg dialog(nullptr, Lister({}, {"COM10", "COM2"}));
        EXPECT_EQ(Selected(dialog), "COM10");
    }
    CSettingsStore::WriteProfileString("Port", "Name", "COM3");
    {
        CInterfaceDlg dialog(nullptr, Lister({}, {"COM3 [Kommunikationsanschluss]"}));
        EXPECT_EQ(Selected(dialog), "COM3 [Kommunikationsanschluss]");
    }
}

TEST(InterfaceDlg, AdapterNoLongerAttachedLeavesNoSelectionAndBaudRateEnabled) {
    CTempSettings store;
    CSettingsStore::WriteProfileString("Port", "Name", "USB: GONE0001");
    CInterfaceDlg dialog(nullptr, Lister({"OTHER123"}, {"COM1"}));
    EXPECT_EQ(Selected(dialog), QString());
    EXPECT_TRUE(dialog.m_cbBaudRate->isEnabled());
}

TEST(InterfaceDlg, UsbEntriesForceAndLock19200) {
    CTempSettings store;
    CSettingsStore::WriteProfileInt("Port", "Baudrate", 9600);
    CSettingsStore::WriteProfileString("Port", "Name", "COM1");
    CInterfaceDlg dialog(nullptr, Lister({"FT4Z91QA"}, {"COM1"}));
    dialog.show();
    EXPECT_EQ(dialog.m_cbBaudRate->currentText(), "9600");
    EXPECT_TRUE(dialog.m_cbBaudRate->isEnabled());

    SelectRow(dialog, "USB: FT4Z91QA");
    EXPECT_FALSE(dialog.m_cbBaudRate->isEnabled());
    EXPECT_EQ(dialog.m_cbBaudRate->currentText(), "19200");

    SelectRow(dialog, "COM1");
    EXPECT_TRUE(dialog.m_cbBaudRate->isEnabled());
    EXPECT_EQ(dialog.m_cbBaudRate->currentText(), "19200");
}

TEST(InterfaceDlg, StoredUsbAdapterIsPreselectedWithLockedBaudRate) {
    CTempSettings store;
    CSettingsStore::WriteProfileString("Port", "Name", "USB: FT4Z91QA");
    CSettingsStore::WriteProfileInt("Port", "Baudrate", 9600);
    CInterfaceDlg dialog(nullptr, Lister({"FT4Z91QA"}, {"COM1"}));
    EXPECT_EQ(Selected(dialog), "USB: FT4Z91QA");
    EXPECT_FALSE(dialog.m_cbBaudRate->isEnabled());
    EXPECT_EQ(dialog.m_cbBaudRate->currentText(), "19200");
}

TEST(InterfaceDlg, BaudRateIsPreselectedByPrefixOrLeftWithoutSelection) {
    CTempSettings store;
    {
        CInterfaceDlg dialog(nullptr, Lister({}, {}));
        EXPECT_EQ(dialog.m_cbBaudRate->currentText(), "19200");  // default
    }
    CSettingsStore::WriteProfileInt("Port", "Baudrate", 9600);
    {
        CInterfaceDlg dialog(nullptr, Lister({}, {}));
        EXPECT_EQ(dialog.m_cbBaudRate->currentText(), "9600");
    }
    CSettingsStore::WriteProfileInt("Port", "Baudrate", 4800);
    CInterfaceDlg dialog(nullptr, Lister({}, {"COM1"}));
    EXPECT_EQ(dialog.m_cbBaudRate->currentIndex(), -1);
    // OK then leaves the stored baud rate alone.
    CModalScript driver;
    EXPECT_EQ(RunWithTimeout(dialog, "500", driver), QDialog::Accepted);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Baudrate", 19200), 4800);
}

TEST(InterfaceDlg, EmptyStoredNameStoresCom1EvenWhenCancelled) {
    CTempSettings store;
    CInterfaceDlg dialog(nullptr, Lister({}, {"COM1", "COM2"}));
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM1");
    EXPECT_EQ(Selected(dialog), "COM1");
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) {
        SelectRow(*static_cast<CInterfaceDlg*>(w), "COM2");
        QTest::mouseClick(w->findChild<QPushButton*>("IDCANCEL"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM1");
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Baudrate", -1), -1);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", -1), -1);
}

TEST(InterfaceDlg, OkStoresTheSelectionAsShownTheBaudRateAndTheTimeout) {
    CTempSettings store;
    CSettingsStore::WriteProfileString("Port", "Name", "COM1");
    CInterfaceDlg dialog(nullptr, Lister({}, {"COM1", "\\\\.\\COM12 [Prolific USB]"}));
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) {
        auto* dlg = static_cast<CInterfaceDlg*>(w);
        SelectRow(*dlg, "COM12 [Prolific USB]");
        dlg->m_cbBaudRate->setCurrentIndex(0);
    });
    EXPECT_EQ(RunWithTimeout(dialog, "1500", driver), QDialog::Accepted);
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM12 [Prolific USB]");
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Baudrate", 0), 9600);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 0), 1500);
}

TEST(InterfaceDlg, OkWithoutSelectedEntryKeepsTheStoredName) {
    CTempSettings store;
    CSettingsStore::WriteProfileString("Port", "Name", "USB: GONE0001");
    CInterfaceDlg dialog(nullptr, Lister({}, {"COM1"}));
    CModalScript driver;
    EXPECT_EQ(RunWithTimeout(dialog, "300", driver), QDialog::Accepted);
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "USB: GONE0001");
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Baudrate", 0), 19200);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 0), 300);
}

TEST(InterfaceDlg, TimeoutOutsideTenTo300000IsRefusedWithTheRangeMessage) {
    CTempSettings store;
    const QString range = LoadString(Res::IDP_PARSE_INT_RANGE).arg(10).arg(300000);
    EXPECT_EQ(range, "Geben Sie bitte eine ganze Zahl zwischen 10 und 300000 ein.");
    for (const QString& bad : {QString("9"), QString("300001"), QString("99999999999999")}) {
        CSettingsStore::WriteProfileString("Port", "Name", "COM1");
        CInterfaceDlg dialog(nullptr, Lister({}, {"COM1", "COM2"}));
        CModalScript driver;
        driver.Then(Is<CInterfaceDlg>,
                    [](QWidget* w) { SelectRow(*static_cast<CInterfaceDlg*>(w), "COM2"); });
        driver.Then(Is<CInterfaceDlg>, EnterTimeoutAndOk(bad));
        driver.Message(QMessageBox::Ok);
        QWidget* focusAfter = nullptr;
        driver.Then(Is<CInterfaceDlg>, [&focusAfter](QWidget* w) {
            focusAfter = w->focusWidget();
            static_cast<QDialog*>(w)->reject();
        });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        ASSERT_EQ(driver.m_messages.size(), 1) << bad.toStdString();
        EXPECT_EQ(driver.m_messages[0], range);
        EXPECT_EQ(focusAfter, dialog.findChild<QLineEdit*>("IDC_TIMEOUT"));
        // Nothing was stored.
        EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM1");
        EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", -1), -1);
    }
}

TEST(InterfaceDlg, EmptyTimeoutIsRefusedAsNotAPositiveWholeNumber) {
    CTempSettings store;
    CInterfaceDlg dialog(nullptr, Lister({}, {"COM1"}));
    CModalScript driver;
    driver.Then(Is<CInterfaceDlg>, EnterTimeoutAndOk(""));
    driver.Message(QMessageBox::Ok);
    driver.Then(Is<CInterfaceDlg>, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    ASSERT_EQ(driver.m_messages.size(), 1);
    EXPECT_EQ(driver.m_messages[0], "Geben Sie bitte eine positive ganze Zahl ein.");
}

TEST(InterfaceDlg, TimeoutLimitsThemselvesAreAccepted) {
    CTempSettings store;
    for (const QString& good : {QString("10"), QString("300000")}) {
        CInterfaceDlg dialog(nullptr, Lister({}, {"COM1"}));
        CModalScript driver;
        EXPECT_EQ(RunWithTimeout(dialog, good, driver), QDialog::Accepted);
        EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 0), good.toInt());
        EXPECT_TRUE(driver.m_unexpected.empty());
    }
}

TEST(InterfaceDlg, TimeoutFieldShowsTheStoredValue) {
    CTempSettings store;
    CSettingsStore::WriteProfileInt("Port", "Timeout", 750);
    CInterfaceDlg dialog(nullptr, Lister({}, {}));
    EXPECT_EQ(dialog.m_nTimeout, 750u);
    EXPECT_EQ(dialog.findChild<QLineEdit*>("IDC_TIMEOUT")->text(), "750");
}

TEST(InterfaceDlg, ToolTipsTellWhichPortIsWhichAndTheListFollowsPlugging) {
    CTempSettings store;
    CSettingsStore::WriteProfileString("Port", "Name", "COM3");
    auto com = std::make_shared<Ports>(Ports{"COM1", "COM3"});
    CPortFacts adapter;
    adapter.devicePath = "/dev/ttyUSB0";
    adapter.byId = "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";
    adapter.driver = "ftdi_sio";
    adapter.usb = {"FTDI", "FT232R USB UART", "0403", "6001", "A1B2C3"};
    adapter.holder = {4711, "minicom", true};
    auto describer = [adapter](const Ports& entries) {
        std::vector<CPortFacts> facts(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            facts[i].entry = entries[i];
            if (entries[i] == "COM3") {
                facts[i] = adapter;
            } else if (entries[i] == "COM1") {
                facts[i].usb.product = "<i>UART</i>";
            } else if (entries[i] == "USB: FT4Z91QA") {
                facts[i].usb.serialNumber = "FT4Z91QA";
            }
        }
        return facts;
    };
    CInterfaceDlg dialog(
        nullptr,
        [com](Ports& usb, Ports& out) {
            out = *com;
            usb = {"FT4Z91QA"};
        },
        describer);
    EXPECT_EQ(dialog.m_lbPorts->findItems("COM3", Qt::MatchExactly).front()->toolTip(),
              "Gerät: /dev/ttyUSB0\n"
              "by-id: usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0\n"
              "USB: FTDI FT232R USB UART (0403:6001)\n"
              "Seriennummer: A1B2C3\n"
              "Treiber: ftdi_sio\n"
              "belegt von minicom (PID 4711)");
    EXPECT_EQ(dialog.m_lbPorts->findItems("USB: FT4Z91QA", Qt::MatchExactly).front()->toolTip(),
              "Seriennummer: FT4Z91QA\nFTDI-Adapter über die Bibliothek libftd2xx");
    EXPECT_EQ(Selected(dialog), "COM3");
    // What a device says of itself shows as written, not as markup.
    QTextDocument shown;
    shown.setHtml(dialog.m_lbPorts->findItems("COM1", Qt::MatchExactly).front()->toolTip());
    EXPECT_EQ(shown.toPlainText(), "USB: <i>UART</i>");

    // An adapter plugged in while the dialog is open appears; the choice stays.
    QTemporaryDir dev;
    dialog.WatchFolders({dev.path()});
    SelectRow(dialog, "COM1");
    com->push_back("COM4");
    QFile(dev.filePath("ttyUSB1")).open(QIODevice::WriteOnly);
    EXPECT_TRUE(WaitUntil([&] { return Entries(dialog).contains("COM4"); }));
    EXPECT_EQ(Selected(dialog), "COM1");
    EXPECT_EQ(dialog.m_lbPorts->findItems("COM3", Qt::MatchExactly).front()->toolTip().count('\n'),
              5);
    // Pulled out again, the selected port goes and nothing is selected in its place.
    com->erase(com->begin());
    QFile::remove(dev.filePath("ttyUSB1"));
    EXPECT_TRUE(WaitUntil([&] { return !Entries(dialog).contains("COM1"); }));
    EXPECT_EQ(Selected(dialog), QString());
}

// Host, port and kind (1: raw TCP) typed into the add dialog, the address
// they make, and the COM number it ends up under (0: refused, with the focus
// on the faulty field).
struct NetReaderCase {
    const char *host, *port;
    int kind;
    const char* address;
    int number;
    const char* focus;
};

TEST(InterfaceDlg, NetworkReadersAreAddedUnderAFreeNumberListedAndSelected) {
    const NetReaderCase cases[] = {
        {"door3.site", "4001", 0, "rfc2217://door3.site:4001", 5, nullptr},
        {" fe80::1 ", "4002", 1, "socket://[fe80::1]:4002", 5, nullptr},
        {"10.0.0.7", "4002", 1, "socket://10.0.0.7:4002", 4, nullptr},  // entered before
        {"door 3", "4001", 0, "rfc2217://door 3:4001", 0, "IDC_NET_HOST"},
        {"door3.site", "70000", 0, "rfc2217://door3.site:70000", 0, "IDC_NET_PORT"},
        {"door3.site", "", 1, "socket://door3.site:", 0, "IDC_NET_PORT"},
    };
    for (const NetReaderCase& c : cases) {
        SCOPED_TRACE(c.address);
        CTempSettings store(CTempSettings::Devices::FromStore);
        CFakeSysfs fake;
        fake.AddTtyS(0, 4);  // COM1
        fake.AddTtyS(2, 4);  // COM3, a UART: never given to a network reader
        CSettingsStore::WriteProfileString("Devices", "COM4", "socket://10.0.0.7:4002");
        CSettingsStore::WriteProfileString("Port", "Name", "COM1");
        const CPortDiscovery discovery(fake.SysRoot(), fake.DevRoot());
        CInterfaceDlg dialog(
            nullptr, [&](Ports&, Ports& com) { discovery.EnumerateComPorts(com); },
            [&](const Ports& entries) { return discovery.Describe(entries); });
        dialog.SetDeviceRoots(fake.SysRoot(), fake.DevRoot());
        const QStringList before = {"COM1", "COM3", "COM4"};
        EXPECT_EQ(Entries(dialog), before);

        CModalScript driver;
        driver.Then(Is<CInterfaceDlg>, [](QWidget* w) {
            w->findChild<QPushButton*>("IDCANCEL")->setFocus();
            QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            QTest::keyClick(w->focusWidget(), Qt::Key_Space);
        });
        driver.Then(Is<CNetReaderDlg>, [&c](QWidget* w) {
            ASSERT_EQ(w->focusWidget()->objectName(), "IDC_NET_HOST");
            QTest::keyClicks(w->focusWidget(), c.host);
            QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(w->focusWidget(), c.port);
            QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            QTest::keyClick(w->focusWidget(), c.kind == 1 ? Qt::Key_Down : Qt::Key_Up);
            QTest::keyClick(w->focusWidget(), Qt::Key_Return);
        });
        QString focus;
        if (c.focus != nullptr) {
            driver.Message(QMessageBox::Ok);
            driver.Then(Is<CNetReaderDlg>, [&focus](QWidget* w) {
                focus = w->focusWidget()->objectName();
                static_cast<QDialog*>(w)->reject();
            });
        }
        QString toolTip;
        driver.Then(Is<CInterfaceDlg>, [&](QWidget* w) {
            const auto items = dialog.m_lbPorts->selectedItems();
            toolTip = items.isEmpty() ? QString() : items.front()->toolTip();
            QTest::mouseClick(w->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
        });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_TRUE(driver.Done() && driver.m_unexpected.isEmpty())
            << driver.m_unexpected.join("; ").toStdString();
        const QString name = QString("COM%1").arg(c.number == 0 ? 1 : c.number);
        EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), name);
        EXPECT_EQ(Entries(dialog).size(), before.size() + (c.number == 5 ? 1 : 0));
        if (c.focus != nullptr) {
            ASSERT_EQ(driver.m_messages.size(), 1);
            EXPECT_TRUE(driver.m_messages[0].startsWith(
                QString(c.address) + " ist keine gültige Netzwerkadresse (erwartet: "));
            EXPECT_EQ(focus, c.focus);
        } else if (c.kind == 0) {
            EXPECT_EQ(toolTip,
                      "Netzwerk-Leser: rfc2217://door3.site:4001\nRechner: door3.site, Port 4001\n"
                      "Art: RFC 2217 (Orvane stellt Baudrate und Format ein)");
        } else {
            EXPECT_TRUE(toolTip.startsWith(QString("Netzwerk-Leser: %1\nRechner: ").arg(c.address)))
                << toolTip.toStdString();
        }
    }
}

}  // namespace
