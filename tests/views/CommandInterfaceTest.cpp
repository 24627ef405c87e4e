#include <QAction>
#include <QMessageBox>
#include <QTest>

#include "CommandTestSupport.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "shell/InterfaceDlg.h"
#include "shell/MainFrame.h"
#include "views/ClockDisplayDlg.h"
#include "views/KeyNumbersDlg.h"
#include "views/ParametersDlg.h"

namespace {

const unsigned kLinkCommands[] = {
    Res::ID_READ_RECORDS, Res::ID_READ_CLOCK,     Res::ID_SET_CLOCK, Res::ID_CLEAR_BUFFER,
    Res::ID_SET_FORMAT,   Res::ID_SET_ID,         Res::ID_SET_MODE,  Res::ID_READ_PARAMETERS,
    Res::ID_MEMORY_TEST,  Res::ID_SET_TIME_FORMAT};

// The view belongs to the test: it leaves the frame before the frame goes.
struct FrameHolder {
    CMainFrame frame;
    ~FrameHolder() { frame.takeCentralWidget(); }
};

// A command chosen from the menu, what the operator does in its dialogs and
// the request the reader should get.
struct MenuCase {
    unsigned id;
    std::function<void(CModalScript&)> operate;
    std::string request;
};

void Confirm(CModalScript& script) {
    script.On<QDialog>([](QDialog* d) { ClickControl(d, Res::IDOK); }).Message(QMessageBox::Ok);
}

std::vector<MenuCase> MenuCases() {
    return {
        {Res::ID_READ_RECORDS, [](CModalScript&) {}, "L"},
        {Res::ID_READ_CLOCK,
         [](CModalScript& s) {
             s.On<CClockDisplayDlg>([](CClockDisplayDlg* d) { ClickControl(d, Res::IDCANCEL); });
         },
         "R"},
        {Res::ID_SET_CLOCK, &Confirm, "S"},
        // The records read before are not saved: the save question follows.
        {Res::ID_CLEAR_BUFFER,
         [](CModalScript& s) { s.Message(QMessageBox::Yes).Message(QMessageBox::No); }, "C"},
        {Res::ID_SET_ID, &Confirm, "I01"},
        {Res::ID_SET_MODE, &Confirm, "M0"},
        {Res::ID_SET_FORMAT, &Confirm, "F0"},
        {Res::ID_SET_TIME_FORMAT, &Confirm, "U0"},
        {Res::ID_SET_PARAMETERS,
         [](CModalScript& s) {
             s.On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, 1015); })
                 .Message(QMessageBox::Ok)
                 .On<CParametersDlg>([](CParametersDlg* d) { ClickControl(d, Res::IDCANCEL); });
         },
         "Z005"},  // the opening time the reader reported
        // The records read before are not saved: the question comes first.
        {Res::ID_READ_PARAMETERS, [](CModalScript& s) { s.Message(QMessageBox::No); }, "P"},
        {Res::ID_KEY_NUMBERS,
         [](CModalScript& s) {
             s.On<CKeyNumbersDlg>([](CKeyNumbersDlg* d) {
                 ClickControl(d, 1015);
                 ClickControl(d, Res::IDOK);
             });
         },
         "K"},
        {Res::ID_MEMORY_TEST,
         [](CModalScript& s) { s.Message(QMessageBox::Yes).Message(QMessageBox::Ok); }, "\xC8"},
        {Res::ID_SELECT_INTERFACE,
         [](CModalScript& s) { s.On<CInterfaceDlg>([](CInterfaceDlg* d) { d->accept(); }); }, "P"},
    };
}

class ExtendedCommandSlow : public ExtendedCommandTest {};

}  // namespace

TEST_F(ExtendedCommandSlow, EveryMenuCommandReachesTheReader) {
    FrameHolder holder;
    CMainFrame& frame = holder.frame;
    ASSERT_TRUE(frame.OnCreate());
    frame.SetView(m_view.get());
    frame.show();
    m_view->setFocus();
    for (const MenuCase& c : MenuCases()) {
        SCOPED_TRACE(c.id);
        Emulator().ClearRequests();
        QAction* action = frame.MenuAction(c.id);
        ASSERT_NE(action, nullptr);
        frame.UpdateCommandUI();
        EXPECT_TRUE(action->isEnabled());
        CModalScript script;
        c.operate(script);
        script.Start();
        action->trigger();
        script.Stop();
        EXPECT_TRUE(script.Done());
        EXPECT_TRUE(script.m_unexpected.isEmpty()) << script.m_unexpected.join("; ").toStdString();
        const std::vector<std::string> requests = Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.front().substr(0, c.request.size()), c.request);
        // The keys go to the transcript again whenever the window is active.
        EXPECT_EQ(frame.focusWidget(), m_view.get());
    }
}

TEST_F(CommandTest, SelectInterfaceClosesTheLinkAndReopensTheChosenOne) {
    bool closedDuringDialog = false;
    CModalScript script;
    script.On<CInterfaceDlg>([&](CInterfaceDlg* d) {
        closedDuringDialog = !m_view->m_reader.IsOpen() && m_view->m_strPortName.isEmpty();
        d->accept();  // the stored COM40 is preselected
    });
    Run(&COrvaneView::OnSelectInterface, script);
    EXPECT_TRUE(closedDuringDialog);
    EXPECT_TRUE(m_view->OnUpdateLinkCommand());
    EXPECT_EQ(m_view->m_strPortName, "COM40");
    // Opening reads the parameters to tell the model.
    EXPECT_EQ(Requests(), std::vector<std::string>{"P"});
}

TEST_F(CommandTest, SelectInterfaceAsksAgainUntilALinkOpensOrTheOperatorCancels) {
    // A stored port that does not open: the dialog comes back; then cancelled.
    CSettingsStore::WriteProfileString("Port", "Name", "COM41");
    CModalScript script;
    script
        .On<CInterfaceDlg>([](CInterfaceDlg* d) {
            CSettingsStore::WriteProfileString("Port", "Name", "COM41");
            QDialog* dialog = d;
            dialog->QDialog::accept();
        })
        .On<CInterfaceDlg>([](CInterfaceDlg* d) { d->reject(); });
    Run(&COrvaneView::OnSelectInterface, script);
    EXPECT_FALSE(m_view->OnUpdateLinkCommand());
    EXPECT_TRUE(m_view->m_strPortName.isEmpty());
    // Without a link the reader commands do nothing, even when called directly.
    CModalScript none;
    Run(&COrvaneView::OnReadRecords, none);
    Run(&COrvaneView::OnClearBuffer, none);
    EXPECT_TRUE(Emulator().ReceivedBytes().empty());
}

TEST_F(ExtendedCommandTest, WithoutALinkOnlyTheExtendedCommandsStayEnabled) {
    FrameHolder holder;
    CMainFrame& frame = holder.frame;
    ASSERT_TRUE(frame.OnCreate());
    frame.SetView(m_view.get());
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    m_view->setFocus();

    // With the link open a command key runs its command.
    CModalScript withLink;
    withLink.Start();
    QTest::keyClick(m_view.get(), Qt::Key_P);
    EXPECT_EQ(Requests(), std::vector<std::string>{"P"});
    Emulator().ClearRequests();

    for (unsigned id : kLinkCommands) {
        EXPECT_TRUE(frame.IsCommandEnabled(id)) << id;
    }
    m_view->CloseLink();
    frame.UpdateCommandUI();
    for (unsigned id : kLinkCommands) {
        EXPECT_FALSE(frame.IsCommandEnabled(id)) << id;
        QAction* menu = frame.MenuAction(id);
        ASSERT_NE(menu, nullptr) << id;
        EXPECT_FALSE(menu->isEnabled()) << id;
    }
    EXPECT_TRUE(frame.IsCommandEnabled(Res::ID_SET_PARAMETERS));
    EXPECT_TRUE(frame.IsCommandEnabled(Res::ID_KEY_NUMBERS));
    EXPECT_TRUE(frame.IsCommandEnabled(Res::ID_SELECT_INTERFACE));

    // The keys of the reader commands do nothing now.
    CModalScript none;
    none.Start();
    for (Qt::Key key : {Qt::Key_L, Qt::Key_R, Qt::Key_S, Qt::Key_C, Qt::Key_I, Qt::Key_M, Qt::Key_F,
                        Qt::Key_U, Qt::Key_P}) {
        QTest::keyClick(m_view.get(), key);
    }
    frame.RunCommand(Res::ID_MEMORY_TEST);
    QTest::qWait(100);
    EXPECT_TRUE(none.m_unexpected.isEmpty()) << none.m_unexpected.join("; ").toStdString();
    EXPECT_TRUE(Emulator().ReceivedBytes().empty());
}
