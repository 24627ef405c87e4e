#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <memory>

#include "common/ResourceIds.h"
#include "shell/InfoDlg.h"
#include "shell/InterfaceDlg.h"
#include "shell/MainFrame.h"
#include "shell/QtUserInterface.h"
#include "tests/GuiTestSupport.h"
#include "views/ClearBufferDlg.h"
#include "views/ClockDisplayDlg.h"
#include "views/ClockSetDlg.h"
#include "views/IdDlg.h"
#include "views/KeyNumbersDlg.h"
#include "views/MemoryTestDlg.h"
#include "views/ModeDlg.h"
#include "views/NumberFormatDlg.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"
#include "views/ParametersDlg.h"
#include "views/TimeFormatDlg.h"

namespace {

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

// Every widget of the window that the keyboard can reach, and every tool
// button, that a screen reader cannot name. A picker's name is the value it
// shows: it needs a label too.
std::string Unnamed(QWidget* window) {
    QStringList unnamed;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // A part that hands its focus on (a spin box's edit) is named by its owner.
        const bool part = widget->focusProxy() == widget->parentWidget() ||
                          widget->parentWidget()->focusProxy() == widget;
        const bool reachable = (widget->focusPolicy() & Qt::TabFocus) && !part;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        const bool labelled = qobject_cast<QComboBox*>(widget) == nullptr ||
                              !face->relations(QAccessible::Label).isEmpty();
        if ((reachable || qobject_cast<QToolButton*>(widget) != nullptr) &&
            (AccessibleName(widget).trimmed().isEmpty() || !labelled)) {
            unnamed << QStringLiteral("%1 %2").arg(widget->metaObject()->className(),
                                                   widget->objectName());
        }
    }
    return unnamed.join(QStringLiteral(", ")).toStdString();
}

// Tab from the top left control visits every control once, each to the
// right of or below the one before, and comes back.
std::string TabOrderFault(QDialog* dialog) {
    dialog->show();
    QApplication::setActiveWindow(dialog);
    if (!WaitUntil([&] { return dialog->focusWidget() != nullptr; })) {
        return "no focus";
    }
    // The control that has the focus, for a part of one (a spin box's edit) its owner.
    auto focused = [] {
        QWidget* w = QApplication::focusWidget();
        const bool part =
            w->focusProxy() == w->parentWidget() || w->parentWidget()->focusProxy() == w;
        return part ? w->parentWidget() : w;
    };
    std::vector<QWidget*> chain{focused()};
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (focused() == chain.front()) {
            break;
        }
        // Tab steps through the fields of a date or a time before it leaves them.
        if (focused() != chain.back()) {
            chain.push_back(focused());
        }
    }
    if (focused() != chain.front()) {
        return "Tab does not come back";
    }
    auto rect = [dialog](QWidget* w) { return QRect(w->mapTo(dialog, QPoint()), w->size()); };
    const auto first = std::min_element(chain.begin(), chain.end(), [&](QWidget* a, QWidget* b) {
        return std::pair(rect(a).top(), rect(a).left()) < std::pair(rect(b).top(), rect(b).left());
    });
    std::rotate(chain.begin(), first, chain.end());
    for (size_t i = 1; i < chain.size(); ++i) {
        const QRect a = rect(chain[i - 1]);
        const QRect b = rect(chain[i]);
        if (b.left() < a.right() - 2 && b.top() < a.bottom() - 2) {
            return chain[i]->objectName().toStdString() + " after " +
                   chain[i - 1]->objectName().toStdString();
        }
    }
    return {};
}

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override { SetUserInterface(&m_ui); }
    void TearDown() override { SetUserInterface(nullptr); }

    CTempSettings m_settings;
    CQtUserInterface m_ui;
    CReaderProtocol m_reader;  // never opened: nothing is sent
};

// A screen reader names every control the keyboard reaches, and the
// keyboard reaches them in the order they are seen, in both languages.
TEST_F(AccessibilityTest, EveryControlOfTheWindowAndOfEachDialogHasANameAndTabFollowsTheEye) {
    using Make = std::function<std::unique_ptr<QDialog>()>;
    const std::vector<std::pair<const char*, Make>> dialogs = {
        {"interface",
         [] {
             return std::make_unique<CInterfaceDlg>(
                 nullptr,
                 [](std::vector<std::string>&, std::vector<std::string>& com) {
                     com = {"COM1", "COM3"};
                 },
                 [](const std::vector<std::string>& entries) {
                     return std::vector<CPortFacts>(entries.size());
                 });
         }},
        {"info", [] { return std::make_unique<CInfoDlg>(); }},
        {"clock set", [] { return std::make_unique<CClockSetDlg>(); }},
        {"clock display", [this] { return std::make_unique<CClockDisplayDlg>(&m_reader); }},
        {"id", [] { return std::make_unique<CIdDlg>(); }},
        {"keys", [this] { return std::make_unique<CKeyNumbersDlg>(&m_reader); }},
        {"mode basic", [] { return std::make_unique<CModeDlg>(Res::IDD_MODE_BASIC); }},
        {"mode extended", [] { return std::make_unique<CModeDlg>(Res::IDD_MODE_EXTENDED); }},
        {"number format", [] { return std::make_unique<CNumberFormatDlg>(); }},
        {"time format", [] { return std::make_unique<CTimeFormatDlg>(); }},
        {"parameters", [this] { return std::make_unique<CParametersDlg>(&m_reader); }},
    };
    // The progress dialogs start their operation once shown: they are looked at unshown.
    const std::vector<std::pair<const char*, Make>> progress = {
        {"clear buffer", [this] { return std::make_unique<CClearBufferDlg>(&m_reader); }},
        {"memory test", [this] { return std::make_unique<CMemoryTestDlg>(&m_reader); }},
    };
    for (const bool english : {false, true}) {
        COrvaneDoc doc;
        CMainFrame frame;
        auto* view = new COrvaneView(&doc);
        frame.SetView(view);
        ASSERT_TRUE(frame.OnCreate());
        if (english) {
            frame.OnLanguageEnglish();
            ASSERT_TRUE(frame.IsEnglish());
        }
        frame.show();
        EXPECT_EQ(Unnamed(&frame), "") << "main window, English " << english;
        EXPECT_EQ(AccessibleName(view).toStdString(), english ? "Transcript" : "Protokoll");
        EXPECT_EQ(AccessibleName(
                      frame.ToolBar()->widgetForAction(frame.ToolBarAction(Res::ID_READ_RECORDS)))
                      .toStdString(),
                  english ? "Read data buffer (L)" : "Lese Datenbuffer (L)");
        for (const auto& [name, make] : dialogs) {
            const std::unique_ptr<QDialog> dialog = make();
            EXPECT_EQ(Unnamed(dialog.get()), "") << name;
            EXPECT_EQ(TabOrderFault(dialog.get()), "") << name;
        }
        for (const auto& [name, make] : progress) {
            EXPECT_EQ(Unnamed(make().get()), "") << name;
        }
        frame.OnLanguageGerman();
    }
}

}  // namespace
