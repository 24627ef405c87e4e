#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "Ser2net.h"
#include "common/SettingsStore.h"
#include "link/NetAddress.h"
#include "shell/InterfaceDlg.h"
#include "shell/NetReaderDlg.h"
#include "shell/QtUserInterface.h"
#include "tests/GuiTestSupport.h"
#include "views/EchoByteToView.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

// Another program's hold on a port: its own descriptor, locked, and the
// device made exclusive when asked.
class CPortHolder {
public:
    CPortHolder(const std::string& path, bool exclusive) {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        m_bHeld = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0 &&
                  (!exclusive || ::ioctl(m_fd, TIOCEXCL) == 0);
    }
    ~CPortHolder() {
        if (m_fd >= 0) {
            ::ioctl(m_fd, TIOCNXCL);
            ::close(m_fd);
        }
    }
    bool Held() const { return m_bHeld; }
    bool Exclusive() const {
        int state = 0;
        return ::ioctl(m_fd, TIOCGEXCL, &state) == 0 && state != 0;
    }

private:
    int m_fd = -1;
    bool m_bHeld = false;
};

// Chooses this entry in the interface dialog and presses OK.
void Choose(QWidget* w, const QString& name) {
    auto* dialog = qobject_cast<CInterfaceDlg*>(w);
    const auto items = dialog->m_lbPorts->findItems(name, Qt::MatchStartsWith);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    dialog->m_lbPorts->setCurrentItem(items.front());
    QTest::mouseClick(dialog->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
}

// A held reader as COM40 and a free one as COM41, and a view to connect.
class InterfaceFault : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        g_echoLength = 0;
        SetUserInterface(&m_ui);
        ASSERT_TRUE(m_held.Start());
        ASSERT_TRUE(m_free.Start());
        CSettingsStore::WriteProfileString("Devices", "COM41",
                                           QString::fromStdString(m_free.PortPath()));
    }
    void TearDown() override { SetUserInterface(nullptr); }

    CTempSettings m_settings{CTempSettings::Devices::FromStore};
    CQtUserInterface m_ui;
    CEmulatorPort m_held{ReaderModel::Basic};
    CReaderEmulator m_free{[] {
        EmulatorOptions options;
        options.model = ReaderModel::Extended;
        return options;
    }()};
    COrvaneDoc m_doc;
    COrvaneView m_view{&m_doc};
};

TEST_P(InterfaceFault, AHeldPortIsNotOpenedAndTheNextChoiceOfAFreePortWorks) {
    CPortHolder holder(m_held.m_emulator.PortPath(), GetParam());
    ASSERT_TRUE(holder.Held());
    int dialogs = 0;
    CModalScript script;
    script.Then(Is<CInterfaceDlg>, [&](QWidget* w) {
        ++dialogs;
        Choose(w, "COM40");
    });
    script.Then(Is<CInterfaceDlg>, [&](QWidget* w) {
        ++dialogs;
        Choose(w, "COM41");
    });
    script.Start();
    m_view.OnSelectInterface();
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(script.m_unexpected.isEmpty()) << script.m_unexpected.join("; ").toStdString();
    // The held port gives the dialog again, without touching the holder's port.
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(m_held.m_emulator.Requests().empty());
    EXPECT_EQ(GetParam(), holder.Exclusive());
    ASSERT_TRUE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(m_view.m_strPortName, "COM41");
    EXPECT_TRUE(m_view.m_bExtendedModel);
    EXPECT_EQ(CSettingsStore::GetProfileString("Port", "Name"), "COM41");
    m_view.CloseLink();
}

TEST_P(InterfaceFault, AStoredPortHeldAtStartUpAsksForAnother) {
    CPortHolder holder(m_held.m_emulator.PortPath(), GetParam());
    ASSERT_TRUE(holder.Held());
    CModalScript script;
    script.Then(Is<CInterfaceDlg>, [](QWidget* w) { Choose(w, "COM41"); });
    script.Start();
    m_view.OnInitialUpdate();
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(script.m_unexpected.isEmpty()) << script.m_unexpected.join("; ").toStdString();
    EXPECT_TRUE(m_held.m_emulator.Requests().empty());
    ASSERT_TRUE(m_view.OnUpdateLinkCommand());
    EXPECT_EQ(m_view.m_strPortName, "COM41");
    m_view.CloseLink();
}

INSTANTIATE_TEST_SUITE_P(LockedOrExclusive, InterfaceFault, ::testing::Bool());

// The free reader behind ser2net, added in the dialog, opens through it.
class InterfaceNetwork : public InterfaceFault {};

TEST_F(InterfaceNetwork, AReaderAddedInTheDialogOpensThroughSer2net) {
    if (!CSer2net::Installed()) {
        GTEST_SKIP() << "ser2net is not installed";
    }
    CSer2net server(m_free.PortPath());
    ASSERT_TRUE(server.Start()) << server.Log();
    CNetAddress address;
    ASSERT_TRUE(CNetAddress::Parse(server.Rfc2217Address(), address));
    CModalScript script;
    script.Then(Is<CInterfaceDlg>, [](QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>("IDC_ADD_NET_READER"), Qt::LeftButton);
    });
    script.Then(Is<CNetReaderDlg>, [&address](QWidget* w) {
        w->findChild<QLineEdit*>("IDC_NET_HOST")->setText(QString::fromStdString(address.host));
        w->findChild<QLineEdit*>("IDC_NET_PORT")->setText(QString::number(address.port));
        QTest::mouseClick(w->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
    });
    script.Then(Is<CInterfaceDlg>, [](QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
    });
    script.Start();
    m_view.OnSelectInterface();
    script.Stop();
    EXPECT_TRUE(script.Done() && script.m_unexpected.isEmpty())
        << script.m_unexpected.join("; ").toStdString();
    ASSERT_TRUE(m_view.OnUpdateLinkCommand()) << server.Log();
    EXPECT_TRUE(m_view.m_bExtendedModel);
    const QString name = CSettingsStore::GetProfileString("Port", "Name");
    EXPECT_EQ(m_view.m_strPortName, name);
    EXPECT_EQ(CSettingsStore::GetProfileString("Devices", name).toStdString(),
              server.Rfc2217Address());
    m_view.CloseLink();
}

}  // namespace
