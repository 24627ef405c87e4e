#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSettings>

#include "common/SettingsDeviceEntries.h"
#include "common/SettingsStore.h"
#include "shell/InterfaceDlg.h"
#include "tests/GuiTestSupport.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

void WriteConf(const CTempSettings& store, const QByteArray& text) {
    QDir(store.Folder()).mkpath(QStringLiteral("Meridel Applikationen"));
    QFile file(store.Folder() + QStringLiteral("/Meridel Applikationen/Orvane.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

TEST(SettingsStore, EmptyStoreGivesTheDefaultOfEachCallSite) {
    CTempSettings store{CTempSettings::Devices::FromStore};
    // Reading creates nothing.
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 500), 500);
    EXPECT_FALSE(QFile::exists(store.Folder() + "/Meridel Applikationen/Orvane.conf"));

    // The interface dialog: 500 ms, 19200 baud, and COM1 for a missing name.
    {
        CInterfaceDlg dialog(nullptr, [](std::vector<std::string>&, std::vector<std::string>&) {});
        EXPECT_EQ(dialog.m_nTimeout, 500u);
        EXPECT_EQ(dialog.m_cbBaudRate->currentText(), "19200");
        EXPECT_EQ(dialog.m_strName, "COM1");
    }
    // The view's link: the reply time-out when only the port is stored.
    CReaderEmulator emulator;
    ASSERT_TRUE(emulator.Start());
    CSettingsStore::WriteProfileString("Devices", "COM40",
                                       QString::fromStdString(emulator.PortPath()));
    CSettingsStore::WriteProfileString("Port", "Name", "COM40");
    COrvaneDoc doc;
    COrvaneView view(&doc);
    ASSERT_TRUE(view.OpenLink());
    EXPECT_EQ(view.m_reader.m_timeoutMs.load(), 500u);
    view.CloseLink();
}

TEST(SettingsStore, WritesAreSeenByTheNextReadAndReachTheFileAtOnce) {
    CTempSettings store;
    ASSERT_TRUE(CSettingsStore::WriteProfileInt("Port", "Timeout", 250));
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 500), 250);
    ASSERT_TRUE(CSettingsStore::WriteProfileInt("Port", "Timeout", 1000));
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 500), 1000);
    // Another copy of the program would read the file: it holds the value already,
    // in the section's group.
    const QString text = store.FileText();
    EXPECT_TRUE(text.contains("[Port]")) << text.toStdString();
    EXPECT_TRUE(text.contains("Timeout=1000")) << text.toStdString();
}

TEST(SettingsStore, AValueChangedInTheFileByAnotherWriterIsReadWithoutRestart) {
    CTempSettings store;
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Port", "Name", "COM1"));
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM1");
    WriteConf(store, "[Port]\nName=COM7\nBaudrate=9600\n");
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM7");
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Baudrate", 19200), 9600);
}

TEST(SettingsStore, PortNameFormsAreStoredAndReadBackUnchanged) {
    CTempSettings store;
    for (const QString& name : {QString("USB: FT4Z91QA"), QString("COM12 [USB Serial Port, FTDI]"),
                                QString("COM3 [Kommunikationsanschluss]")}) {
        ASSERT_TRUE(CSettingsStore::WriteProfileString("Port", "Name", name));
        EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), name);
    }
}

TEST(SettingsStore, AnEntryThatIsNotAWholeNumberReadsAsTheDefault) {
    CTempSettings store;
    WriteConf(store, "[Port]\nTimeout=fast\nBaudrate=\n[Settings]\nSprache= 1 \n");
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 500), 500);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Baudrate", 19200), 19200);
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Sprache", 0), 1);
}

TEST(SettingsDeviceEntries, ReadsComEntriesWrittenByHandAndIgnoresOthers) {
    CTempSettings store;
    WriteConf(store,
              "[Devices]\nCOM40=/dev/pts/5\ncom3=/dev/serial/by-id/usb-x\nCOM0=/dev/a\n"
              "COM256=/dev/b\nLPT1=/dev/c\nCOM7=\n");
    CSettingsDeviceEntries entries;
    const std::map<int, std::string> expected = {{3, "/dev/serial/by-id/usb-x"},
                                                 {40, "/dev/pts/5"}};
    EXPECT_EQ(entries.Entries(), expected);

    entries.WriteEntry(5, "/dev/ttyUSB0");
    EXPECT_EQ(entries.Entries().at(5), "/dev/ttyUSB0");
    EXPECT_EQ(CSettingsStore::GetProfileString("Devices", "COM5"), "/dev/ttyUSB0");
}

}  // namespace
