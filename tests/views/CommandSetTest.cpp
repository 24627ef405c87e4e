#include <QDateEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include <functional>

#include "CommandTestSupport.h"
#include "common/ResourceIds.h"
#include "views/ClockSetDlg.h"
#include "views/IdDlg.h"
#include "views/ModeDlg.h"
#include "views/NumberFormatDlg.h"
#include "views/TimeFormatDlg.h"

namespace {

// One member of the dialog-and-set family: its handler, what to do in its
// dialog, the request that should follow and the two reports.
struct SetCase {
    const char* name;
    void (COrvaneView::*handler)();
    std::function<void(QDialog*)> fill;
    std::string request;
    QString success;
    QString failure;
};

std::vector<SetCase> Cases() {
    return {
        {"number format", &COrvaneView::OnSetFormat, [](QDialog* d) { ClickControl(d, 1007); },
         "F1", "Format erfolgreich gesetzt", "Fehler beim Setzen des  Formates"},
        {"time format", &COrvaneView::OnSetTimeFormat, [](QDialog* d) { ClickControl(d, 1019); },
         "U1", "Format erfolgreich gesetzt", "Fehler beim Setzen des  Formates"},
        {"id", &COrvaneView::OnSetId,
         [](QDialog* d) {
             auto* edit = d->findChild<QLineEdit*>("1008");
             edit->selectAll();
             QTest::keyClicks(edit, "07");
         },
         "I07", "ID Nummer erfolgreich gesetzt", "Fehler beim Setzen der ID Nummer"},
        {"mode", &COrvaneView::OnSetMode, [](QDialog* d) { ClickControl(d, 1010); }, "M1",
         "Betriebsart erfolgreich gesetzt", "Fehler beim Setzen der Betriebsart"},
        {"clock", &COrvaneView::OnSetClock,
         [](QDialog* d) { d->findChild<QDateEdit*>("1000")->setDate(QDate(2027, 3, 4)); },
         "S040327", "Datum/Zeit erfolgreich gesetzt", "Fehler bei Datum/Zeit setzen"},
    };
}

void ScriptCase(const SetCase& c, CModalScript& script) {
    script
        .On<QDialog>([&c](QDialog* d) {
            c.fill(d);
            ClickControl(d, Res::IDOK);
        })
        .Message(QMessageBox::Ok);
}

}  // namespace

TEST_F(CommandTest, SetCommandsSendTheDialogsValueAndReportSuccess) {
    for (const SetCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        Emulator().ClearRequests();
        bool busyDuringReport = false;
        bool hookOffDuringReport = false;
        CModalScript script;
        script
            .On<QDialog>([&c](QDialog* d) {
                c.fill(d);
                ClickControl(d, Res::IDOK);
            })
            .Message(QMessageBox::Ok, [&] {
                busyDuringReport = Busy();
                hookOffDuringReport = m_view->m_reader.m_pfnByteHook.load() == nullptr;
            });
        Run(c.handler, script);
        const std::vector<std::string> requests = Requests();
        ASSERT_EQ(requests.size(), 1u);
        // The clock request goes on with the chosen time: "S" ddMMyy HHmmss.
        EXPECT_EQ(requests[0].substr(0, c.request.size()), c.request);
        if (c.request[0] == 'S') {
            EXPECT_EQ(requests[0].size(), 13u);
        }
        EXPECT_EQ(script.m_messages, QStringList{c.success});
        EXPECT_TRUE(busyDuringReport);
        EXPECT_TRUE(hookOffDuringReport);
        EXPECT_TRUE(HookIsDisplay());
        EXPECT_TRUE(m_view->isEnabled());
        EXPECT_EQ(m_ui.m_ui.m_nWaitCursor, 0);
        EXPECT_TRUE(Transcript().isEmpty()) << "the confirmation reached the transcript";
    }
}

TEST_F(CommandTest, SetCommandsReportAWrongEcho) {
    Emulator().SetFault(EmulatorFault::WrongEcho);
    for (const SetCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        CModalScript script;
        ScriptCase(c, script);
        Run(c.handler, script);
        EXPECT_EQ(script.m_messages, QStringList{c.failure});
    }
}

TEST_F(CommandTest, CancelledSetDialogSendsNothingAndShowsNothing) {
    for (const SetCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        CModalScript script;
        script.On<QDialog>([&c](QDialog* d) {
            c.fill(d);
            ClickControl(d, Res::IDCANCEL);
        });
        Run(c.handler, script);
        EXPECT_TRUE(HookIsDisplay());
    }
    EXPECT_TRUE(Requests().empty());
}

TEST_F(CommandTest, ModeDialogOffersTwoModesToTheBasicModel) {
    int offered = 0;
    CModalScript script;
    script.On<CModeDlg>([&](CModeDlg* d) {
        offered = static_cast<int>(d->findChildren<QRadioButton*>().size());
        ClickControl(d, Res::IDCANCEL);
    });
    Run(&COrvaneView::OnSetMode, script);
    EXPECT_EQ(offered, 2);
}

TEST_F(ExtendedCommandTest, ModeDialogOffersFourModesToTheExtendedModel) {
    int offered = 0;
    CModalScript script;
    script
        .On<CModeDlg>([&](CModeDlg* d) {
            offered = static_cast<int>(d->findChildren<QRadioButton*>().size());
            ClickControl(d, 1006);  // "ohne Schlossüberwachung / RS232 Mode"
            ClickControl(d, Res::IDOK);
        })
        .Message(QMessageBox::Ok);
    Run(&COrvaneView::OnSetMode, script);
    EXPECT_EQ(offered, 4);
    EXPECT_EQ(Requests(), std::vector<std::string>{"M2"});
    EXPECT_EQ(script.m_messages, QStringList{"Betriebsart erfolgreich gesetzt"});
}

// Each configuration dialog opens at the reader's value: from the parameter
// report of link opening or of "Lese Parameter", then from each set the
// reader confirmed; without a report the dialogs fall back to their first choice, "01" and 0.
TEST_F(ExtendedCommandTest, ConfigurationDialogsOpenAtTheReadersValues) {
    auto text = [](QDialog* d, const char* id) { return d->findChild<QLineEdit*>(id)->text(); };
    // Per dialog: what it shows (the checked choice or the edits) and a new value to set.
    const std::vector<std::pair<void (COrvaneView::*)(), int>> dialogs = {
        {&COrvaneView::OnSetFormat, 1006},
        {&COrvaneView::OnSetTimeFormat, 1018},
        {&COrvaneView::OnSetMode, 1010},
        {&COrvaneView::OnSetId, 0},
        {&COrvaneView::OnSetParameters, 1016}};
    auto shown = [&](QDialog* d) {
        for (QRadioButton* radio : d->findChildren<QRadioButton*>()) {
            if (radio->isChecked()) {
                return radio->objectName();
            }
        }
        return d->findChild<QLineEdit*>("1011") == nullptr
                   ? text(d, "1008")
                   : text(d, "1011") + " " + text(d, "1012") + " " + text(d, "1013");
    };
    auto shownNow = [&] {
        QStringList all;
        for (const auto& [handler, choice] : dialogs) {
            CModalScript script;
            script.On<QDialog>([&](QDialog* d) {
                all << shown(d);
                d->reject();
            });
            Run(handler, script);
        }
        return all;
    };

    // The emulated reader starts at its factory values.
    EXPECT_EQ(shownNow(), QStringList({"1006", "1018", "1009", "01", "3 5 10"}));

    // Changed behind the program's back, then read with "Lese Parameter".
    m_view->HookOff();
    ASSERT_TRUE(m_view->m_reader.SetId("42") && m_view->m_reader.SetMode("2") &&
                m_view->m_reader.SetNumberFormat("1") && m_view->m_reader.SetTimeFormat("1") &&
                m_view->m_reader.SetTimingValue("V", "007"));
    m_view->HookOn();
    CModalScript none;
    Run(&COrvaneView::OnReadParameters, none);
    EXPECT_EQ(shownNow(), QStringList({"1007", "1019", "1006", "42", "7 5 10"}));

    // Set through the dialogs and confirmed.
    for (const auto& [handler, choice] : dialogs) {
        CModalScript script;
        script
            .On<QDialog>([choice = choice](QDialog* d) {
                QLineEdit* edit = d->findChild<QLineEdit*>(choice == 0 ? "1008" : "1013");
                if (edit != nullptr) {
                    edit->setText(choice == 0 ? "07" : "5");
                }
                if (choice != 0) {
                    ClickControl(d, choice);
                }
                // The parameters dialog sends on its own button and stays open.
                ClickControl(d, choice == 1016 ? Res::IDCANCEL : Res::IDOK);
            })
            .Message(QMessageBox::Ok);
        Run(handler, script);
    }
    EXPECT_EQ(shownNow(), QStringList({"1006", "1018", "1010", "07", "7 5 5"}));
    // No report from the reader on the next link: the fixed values.
    Emulator().SetFault(EmulatorFault::NoAnswer);
    ASSERT_TRUE(m_view->OpenLink());
    EXPECT_EQ(shownNow(), QStringList({"1006", "1018", "1009", "01", "0 0 0"}));
}
