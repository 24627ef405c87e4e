#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "common/Language.h"
#include "common/LinkTexts.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "common/Strings.h"
#include "shell/MainFrame.h"
#include "shell/QtUserInterface.h"
#include "tests/GuiTestSupport.h"
#include "views/ClockSetDlg.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

using namespace std::chrono_literals;

// A frame with its document and view, as the application builds them, and
// the program's reply wait, which dispatches events.
class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUserInterface(&m_ui);
        CLanguage::InstallQtGerman();  // as at start-up
        m_frame = std::make_unique<CMainFrame>();
        m_view = new COrvaneView(&m_doc);
        m_frame->SetView(m_view);
        ASSERT_TRUE(m_frame->OnCreate());
    }
    void TearDown() override {
        m_frame.reset();
        QLocale::setDefault(QLocale::system());
        CLanguage::UnloadEnglish();
        CLanguage::InstallQtGerman();
        CLanguage::SetCatalogueFolders({});
        SetUserInterface(nullptr);
    }

    // Each popup as "title: item|item|-|item".
    QStringList MenuTexts() const {
        QStringList popups;
        for (QAction* popup : m_frame->menuBar()->actions()) {
            QStringList items;
            for (QAction* item : popup->menu()->actions()) {
                items << (item->isSeparator() ? QStringLiteral("-") : item->text());
            }
            popups << popup->text() + QStringLiteral(": ") + items.join('|');
        }
        return popups;
    }

    void ShowAndFocusView() {
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
        m_view->setFocus();
        ASSERT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == m_view; }));
    }

    // Opens a link to an emulated reader and shows the frame with the focus in the transcript.
    void Connect(CEmulatorPort& port) {
        ASSERT_TRUE(port.Start());
        ASSERT_TRUE(m_view->OpenLink());
        port.m_emulator.ClearRequests();
        ShowAndFocusView();
        m_frame->UpdateCommandUI();
    }

    // The date as the clock-set dialog shows it now.
    static QString PickerDate() {
        CClockSetDlg dialog;
        return dialog.findChild<QDateEdit*>("1000")->text();
    }

    CQtUserInterface m_ui;
    CTempSettings m_store{CTempSettings::Devices::FromStore};
    COrvaneDoc m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    COrvaneView* m_view = nullptr;
};

TEST_F(MainFrameTest, MenuHoldsTheGermanTextsMnemonicsAndKeysInOrder) {
    const QStringList expected = {
        "&Datei: S&peichern\tStrg+S|Speichern &unter...|-|&Drucken...\tStrg+P|Sei&tenansicht|"
        "Drucker&einrichtung...|-|&Beenden",
        "Bearbeiten: Lese Datensätze\tL|Lese Datum/Zeit\tR|Setze Datum/Zeit\tS|-|"
        "Buffer löschen\tC",
        "Parameter: Setze ID Nummer\tI|Setze Betriebsart\tM|Setze Format\tF|"
        "Setze Zeitformat\tU|Setze Parameter|Lese Parameter\tP|Schlüsselnummern|-|Speichertest",
        "Einstellungen: Schnittstelle wählen|-|deutsch|englisch",
        "&?: &Handbuch\tF1|-|Inf&o über Orvane...",
    };
    EXPECT_EQ(MenuTexts(), expected);
}

TEST_F(MainFrameTest, ToolBarHasItsNineteenItemsInOrderWithClearPictures) {
    const std::vector<unsigned> expected = {Res::ID_READ_RECORDS,
                                            Res::ID_READ_CLOCK,
                                            Res::ID_SET_CLOCK,
                                            Res::ID_KEY_NUMBERS,
                                            Res::ID_CLEAR_BUFFER,
                                            0,
                                            Res::ID_SET_ID,
                                            Res::ID_SET_MODE,
                                            0,
                                            Res::ID_SET_FORMAT,
                                            Res::ID_SET_TIME_FORMAT,
                                            Res::ID_SET_PARAMETERS,
                                            Res::ID_READ_PARAMETERS,
                                            0,
                                            Res::ID_SELECT_INTERFACE,
                                            0,
                                            Res::ID_APP_EXIT,
                                            0,
                                            Res::ID_APP_ABOUT};
    const QList<QAction*> actions = m_frame->ToolBar()->actions();
    ASSERT_EQ(actions.size(), 19);
    for (int i = 0; i < actions.size(); ++i) {
        if (expected[i] == 0) {
            EXPECT_TRUE(actions[i]->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(actions[i], m_frame->ToolBarAction(expected[i])) << i;
        // Every picture draws something at the button size.
        const QImage image = actions[i]->icon().pixmap(QSize(48, 45)).toImage();
        ASSERT_FALSE(image.isNull()) << expected[i];
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                painted += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(painted, 200) << expected[i];
    }
    // All buttons fit into the frame's width: none is pushed into an extension menu.
    m_frame->show();
    EXPECT_LE(m_frame->ToolBar()->sizeHint().width(), CMainFrame::kWidth);
    EXPECT_TRUE(m_frame->ToolBar()->widgetForAction(actions.back())->isVisible());
    EXPECT_EQ(m_frame->toolBarArea(m_frame->ToolBar()), Qt::TopToolBarArea);
}

TEST_F(MainFrameTest, PromptsShowInTheStatusBarAndTipsOnTheButtons) {
    QAction* button = m_frame->ToolBarAction(Res::ID_READ_RECORDS);
    EXPECT_EQ(button->toolTip(), "Lese Datenbuffer (L)");
    EXPECT_EQ(m_frame->ToolBarAction(Res::ID_SET_FORMAT)->toolTip(), "Dezimal/HEX (F)");
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), "Bereit");

    button->showStatusText(m_frame->ToolBar());
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), "Lesen der Daten aus dem Datenbuffer");
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(m_frame.get(), &leave);
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), "Bereit");

    QAction* item = m_frame->MenuAction(Res::ID_LANGUAGE_ENGLISH);
    item->showStatusText(m_frame->menuBar());
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), "Stellt die Sprache auf englisch");

    // The port pane is wide enough for an adapter's name.
    const QLabel* pane = m_frame->PortPane();
    EXPECT_GE(pane->width(), pane->fontMetrics().horizontalAdvance("USB:12345678"));
}

// Every status text the program shows, with long but real names in it.
QStringList StatusTexts() {
    CLinkFailure failure;
    failure.port = "COM12";
    failure.device = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3D4-if00-port0";
    failure.owner = "root";
    failure.group = "dialout";
    failure.mode = 0660;
    failure.userName = "technician";
    failure.holderPid = 123456;
    failure.holderName = "ModemManager";
    failure.step = "SetCommState()";
    failure.error = EINVAL;
    QStringList texts;
    for (LinkFailureKind kind :
         {LinkFailureKind::NotPresent, LinkFailureKind::PermissionDenied, LinkFailureKind::InUse,
          LinkFailureKind::NotSerialPort, LinkFailureKind::UsbLibraryMissing,
          LinkFailureKind::ConfigurationRefused, LinkFailureKind::Other}) {
        failure.kind = kind;
        for (const bool variant : {false, true}) {
            failure.groupGrantsAccess = variant;
            failure.userInGroup = variant;
            failure.holderLocks = variant;
            texts << LinkTexts::Failure(failure);
        }
    }
    texts << LinkTexts::Lost("COM12", true) << LinkTexts::Lost("COM12", false)
          << LinkTexts::OtherDevice("COM12") << LinkTexts::Restored("COM12")
          << LoadString(Res::IDS_TEACH_IN_ON)
          << LoadString(Res::IDS_NO_READER_ANSWERS).arg(QString::fromStdString(failure.device))
          << LoadString(Res::IDS_READER_PAUSED).arg(300000);
    return texts;
}

// Measured with the default font: a text too long for the message pane at
// the window's default width loses its middle, keeps its start and its end
// (the remedy), and shows whole in the status bar's tool tip.
TEST_F(MainFrameTest, EveryStatusTextFitsTheDefaultWidthInBothLanguages) {
    m_frame->show();
    ASSERT_TRUE(WaitUntil([&] { return m_frame->PortPane()->x() > 0; }));
    QStatusBar* bar = m_frame->statusBar();
    int shortened = 0;
    for (const bool english : {false, true}) {
        english ? m_frame->OnLanguageEnglish() : m_frame->OnLanguageGerman();
        for (const QString& text : StatusTexts()) {
            QStatusTipEvent tip(text);
            QApplication::sendEvent(m_frame.get(), &tip);
            const QString shown = bar->currentMessage();
            EXPECT_LE(bar->fontMetrics().horizontalAdvance(shown) + 6, m_frame->PortPane()->x())
                << shown.toStdString();
            EXPECT_EQ(bar->toolTip(), text);
            if (shown != text) {
                ++shortened;
                EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
                EXPECT_EQ(shown.left(5), text.left(5));
                EXPECT_EQ(shown.right(5), text.right(5));
            }
        }
    }
    EXPECT_GT(shortened, 0);
    m_frame->OnLanguageGerman();
}

TEST_F(MainFrameTest, CommandsFollowTheirUpdateRules) {
    m_frame->UpdateCommandUI();
    const std::vector<unsigned> linkCommands = {
        Res::ID_READ_RECORDS, Res::ID_READ_CLOCK,     Res::ID_SET_CLOCK, Res::ID_CLEAR_BUFFER,
        Res::ID_SET_FORMAT,   Res::ID_SET_ID,         Res::ID_SET_MODE,  Res::ID_READ_PARAMETERS,
        Res::ID_MEMORY_TEST,  Res::ID_SET_TIME_FORMAT};
    for (unsigned id : linkCommands) {
        EXPECT_FALSE(m_frame->MenuAction(id)->isEnabled()) << id;
        if (QAction* tool = m_frame->ToolBarAction(id)) {
            EXPECT_FALSE(tool->isEnabled()) << id;
        }
    }
    for (unsigned id : {Res::ID_SET_PARAMETERS, Res::ID_KEY_NUMBERS}) {
        EXPECT_FALSE(m_frame->MenuAction(id)->isEnabled()) << id;
    }
    for (unsigned id : {Res::ID_SELECT_INTERFACE, Res::ID_LANGUAGE_GERMAN, Res::ID_LANGUAGE_ENGLISH,
                        Res::ID_APP_EXIT, Res::ID_FILE_SAVE}) {
        EXPECT_TRUE(m_frame->MenuAction(id)->isEnabled()) << id;
    }
    // The extended model's commands follow the model flag alone; the timer
    // brings the buttons along without a menu being opened.
    m_view->m_bExtendedModel = true;
    ASSERT_TRUE(WaitUntil([&] {
        return m_frame->ToolBarAction(Res::ID_KEY_NUMBERS)->isEnabled() &&
               m_frame->ToolBarAction(Res::ID_SET_PARAMETERS)->isEnabled();
    }));
    EXPECT_FALSE(m_frame->ToolBarAction(Res::ID_READ_RECORDS)->isEnabled());
}

TEST_F(MainFrameTest, KeysOfDisabledCommandsDoNothingAndAreNotTyped) {
    ShowAndFocusView();
    CModalScript driver;
    QTest::keyClicks(m_view, "lrscimfup");
    QTest::qWait(50);
    EXPECT_EQ(m_view->toPlainText(), QString());
    EXPECT_TRUE(driver.m_unexpected.empty());
    // Other letters and the shifted ones are typed as usual.
    QTest::keyClicks(m_view, "ab");
    QTest::keyClick(m_view, 'L', Qt::ShiftModifier);
    // Chords with Alt or Ctrl are commands, never typing; AltGr characters are
    // typed, whether they come without modifiers or as Ctrl+Alt.
    QTest::keyClick(m_view, Qt::Key_E, Qt::AltModifier);
    QTest::keyClick(m_view, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(m_view, '@');
    QTest::sendKeyEvent(QTest::Click, m_view, Qt::Key_E, QStringLiteral("€"),
                        Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(m_view->toPlainText(), "abL@€");
    QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(m_view->textCursor().selectedText(), "abL@€");
}

TEST_F(MainFrameTest, SingleLetterKeysStartTheirCommandWhileTheTranscriptHasTheFocus) {
    CEmulatorPort port(ReaderModel::Basic, 3);
    Connect(port);
    CModalScript driver;
    m_frame->menuBar()->setFocus();  // as a menu bar left in keyboard mode holds it

    QTest::keyClick(m_view, Qt::Key_L);
    ASSERT_TRUE(port.m_emulator.WaitForRequests(1, 3s));
    EXPECT_EQ(port.m_emulator.Requests().front(), "L");
    // The read-out fills the transcript; the key itself is not typed.
    ASSERT_TRUE(WaitUntil([&] { return m_view->toPlainText().contains("END"); }));
    EXPECT_FALSE(m_view->toPlainText().startsWith('l'));
    EXPECT_TRUE(driver.m_unexpected.empty());
    // The keyboard works in the transcript again: an arrow key moves the caret.
    ASSERT_TRUE(WaitUntil([&] { return m_frame->isEnabled(); }));
    EXPECT_EQ(QApplication::focusWidget(), m_view);
    const int line = m_view->textCursor().blockNumber();
    QTest::keyClick(m_frame->windowHandle(), Qt::Key_Up);
    EXPECT_EQ(m_view->textCursor().blockNumber(), line - 1);
    m_view->CloseLink();
}

// While the opening parameter read or a read-out waits for the reader, "L",
// its tool bar button and a close request do nothing.
TEST_F(MainFrameTest, NothingElseStartsWhileTheReaderIsWaitedFor) {
    CEmulatorPort port(ReaderModel::Basic, 3);
    Connect(port);
    m_frame->OnLanguageEnglish();
    bool tried = false;
    bool closed = false;
    QTimer poke;
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (!tried && !port.m_emulator.Requests().empty()) {
            tried = true;
            QTest::keyClick(m_view, Qt::Key_L);
            m_frame->ToolBarAction(Res::ID_READ_RECORDS)->trigger();
            closed = m_frame->close() || closed;
        }
    });
    poke.start(5);
    CModalScript driver;
    driver.On<QDialog>([](QDialog* d) { d->accept(); });  // the stored COM40 again
    for (unsigned id : {Res::ID_SELECT_INTERFACE, Res::ID_READ_RECORDS}) {
        tried = false;
        port.m_emulator.ClearRequests();
        m_frame->RunCommand(id);
        ASSERT_TRUE(tried) << id;
        QTest::qWait(150);
        EXPECT_EQ(port.m_emulator.Requests().size(), 1u) << id;
    }
    // Nothing was switched or saved half-way, and the window stayed.
    EXPECT_FALSE(closed);
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_TRUE(m_frame->IsEnglish());
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Sprache", -1), -1);
    EXPECT_TRUE(driver.m_unexpected.empty()) << driver.m_unexpected.join("; ").toStdString();
    m_view->CloseLink();
}

TEST_F(MainFrameTest, EnglishRebuildsTheMenuAtOnceAndLaterTextsAreEnglish) {
    // German dates whatever the system's locale is.
    EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d+$").match(PickerDate()).hasMatch())
        << PickerDate().toStdString();
    m_frame->OnLanguageEnglish();
    ASSERT_TRUE(m_frame->IsEnglish());
    EXPECT_EQ(MenuTexts().front(),
              "&File: &Save\tCtrl+S|Save &As...|-|&Print...\tCtrl+P|Print Pre&view|"
              "P&rint Setup...|-|E&xit");
    EXPECT_EQ(MenuTexts().at(3), "Settings: Select interface|-|German|English");
    EXPECT_TRUE(MenuTexts().at(1).startsWith("Edit: Read records\tL|"))
        << MenuTexts().at(1).toStdString();
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), "Ready");
    EXPECT_EQ(m_frame->ToolBarAction(Res::ID_READ_RECORDS)->toolTip(), "Read data buffer (L)");
    EXPECT_EQ(LoadString(Res::IDS_READ_ERROR), "Error reading the data");
    // What is on screen follows at once: the title and the date of the clock pickers.
    EXPECT_EQ(m_frame->windowTitle(), "Untitled - Orvane");
    EXPECT_FALSE(PickerDate().contains('.')) << PickerDate().toStdString();
    // A fresh menu: only the update handler's check mark.
    EXPECT_TRUE(m_frame->MenuAction(Res::ID_LANGUAGE_ENGLISH)->isChecked());
    EXPECT_FALSE(m_frame->MenuAction(Res::ID_LANGUAGE_GERMAN)->isChecked());

    // Choosing it again changes nothing.
    QMenuBar* bar = m_frame->menuBar();
    m_frame->RunCommand(Res::ID_LANGUAGE_ENGLISH);
    EXPECT_EQ(m_frame->menuBar(), bar);

    m_frame->RunCommand(Res::ID_LANGUAGE_GERMAN);
    EXPECT_FALSE(m_frame->IsEnglish());
    EXPECT_EQ(MenuTexts().at(3), "Einstellungen: Schnittstelle wählen|-|deutsch|englisch");
    EXPECT_TRUE(m_frame->MenuAction(Res::ID_LANGUAGE_GERMAN)->isChecked());
    EXPECT_FALSE(m_frame->MenuAction(Res::ID_LANGUAGE_ENGLISH)->isChecked());
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), "Bereit");
    EXPECT_EQ(LoadString(Res::IDS_READ_ERROR), "Fehler beim Lesen der Daten");
    EXPECT_EQ(m_frame->windowTitle(), "Unbenannt - Orvane");
    bar = m_frame->menuBar();
    m_frame->RunCommand(Res::ID_LANGUAGE_GERMAN);
    EXPECT_EQ(m_frame->menuBar(), bar);
}

TEST_F(MainFrameTest, QtsOwnButtonTextsFollowTheLanguage) {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "Ja");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), "Abbrechen");
    m_frame->OnLanguageEnglish();
    QMessageBox english;
    english.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(english.button(QMessageBox::Yes)->text().remove('&'), "Yes");
    m_frame->OnLanguageGerman();
    QMessageBox german;
    german.setStandardButtons(QMessageBox::No);
    EXPECT_EQ(german.button(QMessageBox::No)->text().remove('&'), "Nein");
}

TEST_F(MainFrameTest, MissingCatalogueGivesMessage10017AndStaysGerman) {
    QTemporaryDir empty;
    CLanguage::SetCatalogueFolders({empty.path()});
    CModalScript driver;
    driver.Message(QMessageBox::Ok);
    // Through the menu item itself, which Qt ticks before the command runs.
    m_frame->MenuAction(Res::ID_LANGUAGE_ENGLISH)->trigger();
    ASSERT_EQ(driver.m_messages.size(), 1);
    EXPECT_EQ(driver.m_messages[0],
              "Die Sprachinformationen konnten nicht geladen werden!\r\n"
              "Standardsprache Deutsch wird geladen!");
    EXPECT_FALSE(m_frame->IsEnglish());
    EXPECT_TRUE(m_frame->MenuAction(Res::ID_LANGUAGE_GERMAN)->isChecked());
    EXPECT_FALSE(m_frame->MenuAction(Res::ID_LANGUAGE_ENGLISH)->isChecked());
    EXPECT_EQ(MenuTexts().front().left(8), "&Datei: ");
}

TEST_F(MainFrameTest, EveryCloseStoresTheLanguageAndReturnsToGerman) {
    m_frame->show();
    m_frame->OnLanguageEnglish();
    // A modified transcript asks first; cancelling keeps the window, in German.
    m_view->setPlainText("data");
    CModalScript driver;
    driver.Message(QMessageBox::Cancel);
    EXPECT_FALSE(m_frame->close());
    ASSERT_EQ(driver.m_messages.size(), 1);
    EXPECT_EQ(driver.m_messages[0], "Änderungen in Unbenannt speichern?");
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_FALSE(m_frame->IsEnglish());
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Sprache", -1), 1);

    driver.Message(QMessageBox::No);
    EXPECT_TRUE(m_frame->close());
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Sprache", -1), 0);
}

// A reader left in Teach IN enrols every badge: quitting asks to end it first.
TEST_F(MainFrameTest, QuittingWhileTeachInIsOnAsksToSwitchItOff) {
    CEmulatorPort port(ReaderModel::Extended);
    Connect(port);
    m_view->SetTeachIn(true);
    CModalScript driver;
    driver.Message(QMessageBox::Yes);
    EXPECT_TRUE(m_frame->close());
    EXPECT_EQ(driver.m_messages, QStringList{"Teach IN ausschalten?"});
    EXPECT_TRUE(port.m_emulator.WaitForRequests(1, 3s));
    EXPECT_EQ(port.m_emulator.Requests(), std::vector<std::string>{"X"});
    EXPECT_EQ(m_view->TeachInState(), COrvaneView::TeachIn::Off);
}

TEST_F(MainFrameTest, StoredEnglishIsAppliedWhenTheFrameIsCreated) {
    CSettingsStore::WriteProfileInt("Settings", "Sprache", 1);
    COrvaneDoc doc;
    CMainFrame frame;
    frame.SetView(new COrvaneView(&doc));
    ASSERT_TRUE(frame.OnCreate());
    EXPECT_TRUE(frame.IsEnglish());
    EXPECT_EQ(frame.menuBar()->actions().front()->text(), "&File");
    frame.OnLanguageGerman();
}

TEST_F(MainFrameTest, KeepsItsSizeAgainstTheEdgeButCanBeMaximised) {
    m_frame->show();
    EXPECT_EQ(m_frame->size(), QSize(815, 500));
    m_frame->resize(900, 640);
    ASSERT_TRUE(WaitUntil([&] { return m_frame->size() == QSize(815, 500); }));
    m_frame->resize(700, 400);
    ASSERT_TRUE(WaitUntil([&] { return m_frame->size() == QSize(815, 500); }));
    // A size imposed again right after it was refused (a tiling window manager)
    // is kept rather than fought over.
    m_frame->resize(1000, 700);
    ASSERT_TRUE(WaitUntil([&] { return m_frame->size() == QSize(815, 500); }));
    m_frame->resize(1000, 700);
    QTest::qWait(50);
    EXPECT_EQ(m_frame->size(), QSize(1000, 700));
    m_frame->showNormal();
    m_frame->resize(815, 500);

    m_frame->showMaximized();
    ASSERT_TRUE(WaitUntil([&] { return m_frame->isMaximized(); }));
    QTest::qWait(50);
    EXPECT_TRUE(m_frame->isMaximized());
    m_frame->showMinimized();
    ASSERT_TRUE(WaitUntil([&] { return m_frame->isMinimized(); }));
    m_frame->showNormal();
    ASSERT_TRUE(WaitUntil([&] { return m_frame->size() == QSize(815, 500); }));
}

TEST_F(MainFrameTest, TitleIsDocumentNameDashTitleText) {
    EXPECT_EQ(m_frame->windowTitle(), "Unbenannt - Orvane");
    emit m_view->TitleTextChanged("Orvane SX");
    EXPECT_EQ(m_frame->windowTitle(), "Unbenannt - Orvane SX");
}

}  // namespace
