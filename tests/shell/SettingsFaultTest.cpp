#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <random>

#include <unistd.h>

#include "common/Language.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "shell/InterfaceDlg.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "tests/GuiTestSupport.h"
#include "views/EchoByteToView.h"
#include "views/OrvaneView.h"

namespace {

// The program started on a settings file that is broken in some way; the
// operator cancels the interface dialog it asks with.
class SettingsFault : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        g_echoLength = 0;
        ASSERT_TRUE(QDir(m_store.Folder()).mkpath(kFolder));
    }
    void TearDown() override {
        m_app.reset();
        // Leave the folder removable.
        QFile::setPermissions(ConfPath(), QFile::ReadOwner | QFile::WriteOwner);
        CLanguage::UnloadEnglish();
        CLanguage::InstallQtGerman();
    }
    QString ConfPath() const { return m_store.Folder() + "/" + kFolder + "/Orvane.conf"; }
    void WriteConf(const QByteArray& bytes) {
        QFile file(ConfPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    // Starts the program; true when it came up with its defaults: German, no
    // link, the interface dialog asked once, nothing else modal.
    void StartWithDefaults() {
        int dialogs = 0;
        CModalScript driver;
        driver.Then(Is<CInterfaceDlg>, [&dialogs](QWidget* w) {
            ++dialogs;
            static_cast<QDialog*>(w)->reject();
        });
        m_app = std::make_unique<COrvaneApp>();
        ASSERT_TRUE(m_app->InitInstance({}));
        EXPECT_TRUE(driver.Done());
        EXPECT_TRUE(driver.m_unexpected.isEmpty()) << driver.m_unexpected.join("; ").toStdString();
        EXPECT_EQ(dialogs, 1);
        CMainFrame* frame = m_app->GetMainWnd();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_FALSE(frame->IsEnglish());
        EXPECT_EQ(frame->windowTitle(), "Unbenannt - Orvane");
        EXPECT_FALSE(m_app->GetView()->OnUpdateLinkCommand());
        EXPECT_EQ(m_app->GetView()->TranscriptLength(), 0);
    }

    static inline const QString kFolder = QStringLiteral("Meridel Applikationen");
    CTempSettings m_store;
    std::unique_ptr<COrvaneApp> m_app;
};

TEST_F(SettingsFault, RandomBytesStartWithDefaults) {
    std::mt19937 random(7);
    QByteArray bytes(64 * 1024, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    WriteConf(bytes);
    StartWithDefaults();
}

TEST_F(SettingsFault, AbsurdValuesStartWithDefaults) {
    WriteConf(QByteArray("[Settings]\nSprache=99999999999999999999\nPreviewPages=-7\n"
                         "[Port]\nName=") +
              QByteArray(100000, 'X') +
              "\nBaudrate=-1\nTimeout=banana\n"
              "[Devices]\nCOM40=/dev/null\nCOM0=/\nCOM99999999999=/dev/pts/0\nCOM-3=\n"
              "[Recent File List]\nFile1=\nFile2=/nonexistent/\\0\\x1\nFile3=" +
              QByteArray(5000, '/') + "\n[");
    StartWithDefaults();
    EXPECT_EQ(CSettingsStore::GetProfileInt("Port", "Timeout", 500), 500);
}

TEST_F(SettingsFault, UnreadableFileStartsWithDefaults) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads a file whatever its mode";
    }
    WriteConf("[Settings]\nSprache=1\n[Port]\nName=COM40\n");
    ASSERT_TRUE(QFile::setPermissions(ConfPath(), QFile::Permissions()));
    StartWithDefaults();
}

TEST_F(SettingsFault, ADirectoryInPlaceOfTheFileStartsWithDefaultsAndWritesFail) {
    ASSERT_TRUE(QDir(m_store.Folder()).mkpath(kFolder + "/Orvane.conf"));
    StartWithDefaults();
    // A write that cannot reach the file is not reported as done.
    EXPECT_FALSE(CSettingsStore::WriteProfileInt("Port", "Timeout", 250));
    m_app->GetMainWnd()->RunCommand(Res::ID_APP_EXIT);
}

TEST_F(SettingsFault, AbsurdLineSettingsForAWorkingReaderAreHeldInRange) {
    CEmulatorPort reader(ReaderModel::Basic);
    ASSERT_TRUE(reader.Start());
    CSettingsStore::WriteProfileInt("Port", "Baudrate", -1);
    CSettingsStore::WriteProfileString("Port", "Timeout", "-2147483648");
    CModalScript driver;
    m_app = std::make_unique<COrvaneApp>();
    ASSERT_TRUE(m_app->InitInstance({}));
    driver.Stop();
    EXPECT_TRUE(driver.m_unexpected.isEmpty()) << driver.m_unexpected.join("; ").toStdString();
    COrvaneView* view = m_app->GetView();
    ASSERT_TRUE(view->OnUpdateLinkCommand());
    EXPECT_EQ(view->m_reader.m_timeoutMs.load(), 10u);
    EXPECT_TRUE(m_app->GetMainWnd()->isVisible());
    view->CloseLink();
}

}  // namespace
