#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

#include "common/ResourceIds.h"
#include "shell/InfoDlg.h"
#include "shell/InterfaceDlg.h"
#include "shell/NetReaderDlg.h"
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
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// A part that hands its focus on (a spin box's edit) is named by its owner.
QWidget* Owner(QWidget* w) {
    const bool part = w->focusProxy() == w->parentWidget() || w->parentWidget()->focusProxy() == w;
    return part ? w->parentWidget() : w;
}

// The controls the keyboard reaches, and the tool buttons, that a screen
// reader cannot name. A picker's name is the value it shows: it needs a label.
std::string Unnamed(QWidget* window) {
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool picker = qobject_cast<QComboBox*>(w) != nullptr;
        if ((Owner(w) == w && (w->focusPolicy() & Qt::TabFocus)) || Is<QToolButton>(w)) {
            if (AccessibleName(w).trimmed().isEmpty() ||
                (picker && QAccessible::queryAccessibleInterface(w)
                               ->relations(QAccessible::Label)
                               .isEmpty())) {
                unnamed << QString(w->metaObject()->className()) + " " + w->objectName();
            }
        }
    }
    return unnamed.join(", ").toStdString();
}

// Tab, from the top left control on, goes each time right or down, visits
// every control (a date's fields one after the other) and comes back.
std::string TabOrderFault(QDialog* dialog) {
    dialog->show();
    QApplication::setActiveWindow(dialog);
    if (!WaitUntil([&] { return dialog->focusWidget() != nullptr; })) {
        return "no focus";
    }
    std::vector<QWidget*> chain{Owner(QApplication::focusWidget())};
    for (int i = 0; i < 40 && (i == 0 || Owner(QApplication::focusWidget()) != chain.front());
         ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QWidget* now = Owner(QApplication::focusWidget()); now != chain.back()) {
            chain.push_back(now);
        }
    }
    if (chain.back() != chain.front()) {
        return "Tab does not come back";
    }
    chain.pop_back();
    auto at = [dialog](QWidget* w) { return QRect(w->mapTo(dialog, QPoint()), w->size()); };
    std::rotate(chain.begin(),
                std::min_element(chain.begin(), chain.end(),
                                 [&](auto a, auto b) {
                                     return std::pair(at(a).top(), at(a).left()) <
                                            std::pair(at(b).top(), at(b).left());
                                 }),
                chain.end());
    for (size_t i = 1; i < chain.size(); ++i) {
        if (at(chain[i]).left() < at(chain[i - 1]).right() - 2 &&
            at(chain[i]).top() < at(chain[i - 1]).bottom() - 2) {
            return chain[i]->objectName().toStdString() + " after " +
                   chain[i - 1]->objectName().toStdString();
        }
    }
    return {};
}

// A screen reader names every control the keyboard reaches, and the
// keyboard reaches them in the order they are seen, in both languages.
TEST(Accessibility, EveryControlOfTheWindowAndOfEachDialogHasANameAndTabFollowsTheEye) {
    CTempSettings settings;
    CQtUserInterface ui;
    SetUserInterface(&ui);
    CReaderProtocol reader;  // never opened: nothing is sent
    for (const bool english : {false, true}) {
        COrvaneDoc doc;
        CMainFrame frame;
        auto* view = new COrvaneView(&doc);
        frame.SetView(view);
        ASSERT_TRUE(frame.OnCreate());
        if (english) {
            frame.OnLanguageEnglish();
        }
        frame.show();
        EXPECT_EQ(Unnamed(&frame), "") << "main window, English " << english;
        EXPECT_EQ(AccessibleName(view).toStdString(), english ? "Transcript" : "Protokoll");
        EXPECT_EQ(AccessibleName(
                      frame.ToolBar()->widgetForAction(frame.ToolBarAction(Res::ID_READ_RECORDS)))
                      .toStdString(),
                  english ? "Read data buffer (L)" : "Lese Datenbuffer (L)");
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.push_back(std::make_unique<CInterfaceDlg>(
            nullptr,
            [](auto&, auto& com) {
                com = {"COM1", "COM3"};
            },
            [](const auto& entries) { return std::vector<CPortFacts>(entries.size()); }));
        dialogs.push_back(std::make_unique<CNetReaderDlg>());
        dialogs.push_back(std::make_unique<CInfoDlg>());
        dialogs.push_back(std::make_unique<CClockSetDlg>());
        dialogs.push_back(std::make_unique<CClockDisplayDlg>(&reader));
        dialogs.push_back(std::make_unique<CIdDlg>());
        dialogs.push_back(std::make_unique<CKeyNumbersDlg>(&reader));
        dialogs.push_back(std::make_unique<CModeDlg>(Res::IDD_MODE_BASIC));
        dialogs.push_back(std::make_unique<CModeDlg>(Res::IDD_MODE_EXTENDED));
        dialogs.push_back(std::make_unique<CNumberFormatDlg>());
        dialogs.push_back(std::make_unique<CTimeFormatDlg>());
        dialogs.push_back(std::make_unique<CParametersDlg>(&reader));
        for (const auto& dialog : dialogs) {
            EXPECT_EQ(Unnamed(dialog.get()), "") << dialog->windowTitle().toStdString();
            EXPECT_EQ(TabOrderFault(dialog.get()), "") << dialog->windowTitle().toStdString();
        }
        // The progress dialogs start their operation once shown: they are looked at unshown.
        EXPECT_EQ(Unnamed(std::make_unique<CClearBufferDlg>(&reader).get()), "");
        EXPECT_EQ(Unnamed(std::make_unique<CMemoryTestDlg>(&reader).get()), "");
        frame.OnLanguageGerman();
    }
    SetUserInterface(nullptr);
}

}  // namespace
