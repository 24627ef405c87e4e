#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

#include "DialogTestSupport.h"
#include "common/ResourceIds.h"
#include "views/ModeDlg.h"
#include "views/NumberFormatDlg.h"
#include "views/TimeFormatDlg.h"

namespace {

struct RadioCase {
    const char* name;
    std::function<CRadioDlg*()> make;
    QString title;
    std::vector<int> ids;
    QStringList texts;
};

std::vector<RadioCase> Cases() {
    return {
        {"number format",
         [] { return new CNumberFormatDlg; },
         "Format setzen",
         {1006, 1007},
         {"Hexadezimal", "Dezimal"}},
        {"time format",
         [] { return new CTimeFormatDlg; },
         "Zeitformat setzen",
         {1018, 1019},
         {"HH:MM:SS:Z (mit Zehntelsekunden)", "HH:MM:SS (ohne Zehntelsekunden)"}},
        {"basic mode",
         [] { return new CModeDlg(Res::IDD_MODE_BASIC); },
         "Betriebsart setzen",
         {1009, 1010},
         {"Standard", "Transparent"}},
        {"extended mode",
         [] { return new CModeDlg(Res::IDD_MODE_EXTENDED); },
         "Betriebsart setzen",
         {1009, 1010, 1006, 1007},
         {"ohne Schlossüberwachung / Mastercard Mode", "mit Schlossüberwachung / Mastercard Mode",
          "ohne Schlossüberwachung / RS232 Mode", "mit Schlossüberwachung / RS232 Mode"}},
    };
}

}  // namespace

TEST(DialogRadio, ControlsFollowTheTemplates) {
    for (const RadioCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CRadioDlg> dialog(c.make());
        EXPECT_EQ(dialog->windowTitle(), c.title);
        const QList<QRadioButton*> radios = dialog->findChildren<QRadioButton*>();
        ASSERT_EQ(radios.size(), static_cast<qsizetype>(c.ids.size()));
        for (size_t i = 0; i < c.ids.size(); ++i) {
            EXPECT_EQ(radios[i]->objectName(), QString::number(c.ids[i]));
            EXPECT_EQ(radios[i]->text(), c.texts[i]);
        }
        auto* ok = dialog->findChild<QPushButton*>("1");
        auto* cancel = dialog->findChild<QPushButton*>("2");
        ASSERT_NE(ok, nullptr);
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(ok->text(), "Setzen");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(cancel->text(), "Abbrechen");
        // Template order: the radio buttons, then "Abbrechen", then "Setzen".
        EXPECT_EQ(radios.back()->nextInFocusChain(), cancel);
        EXPECT_EQ(cancel->nextInFocusChain(), ok);
    }
}

TEST(DialogRadio, SetzenReturnsTheChosenIndexAsOneDigit) {
    for (const RadioCase& c : Cases()) {
        for (size_t index = 0; index < c.ids.size(); ++index) {
            SCOPED_TRACE(std::string(c.name) + " index " + std::to_string(index));
            std::unique_ptr<CRadioDlg> dialog(c.make());
            bool firstCheckedAtOpening = false;
            CModalScript script;
            script.On<CRadioDlg>([&](CRadioDlg* d) {
                firstCheckedAtOpening =
                    d->findChild<QRadioButton*>(QString::number(c.ids[0]))->isChecked();
                ClickControl(d, c.ids[index]);
                ClickControl(d, Res::IDOK);
            });
            script.Start();
            EXPECT_EQ(dialog->exec(), QDialog::Accepted);
            EXPECT_TRUE(firstCheckedAtOpening);
            EXPECT_EQ(dialog->m_strResult, QString::number(index));
        }
    }
}

TEST(DialogRadio, AbbrechenLeavesNoResult) {
    CNumberFormatDlg dialog;
    CModalScript script;
    script.On<CNumberFormatDlg>([](CNumberFormatDlg* d) {
        ClickControl(d, 1007);
        ClickControl(d, Res::IDCANCEL);
    });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(dialog.m_strResult.isEmpty());
}

TEST(DialogRadio, ExtendedModeDialogReturnsTwoForRs232WithoutLockMonitoring) {
    CModeDlg dialog(Res::IDD_MODE_EXTENDED);
    CModalScript script;
    script.On<CModeDlg>([](CModeDlg* d) {
        for (QRadioButton* radio : d->findChildren<QRadioButton*>()) {
            if (radio->text() == "ohne Schlossüberwachung / RS232 Mode") {
                ClickButton(radio);
            }
        }
        QTest::keyClick(d, Qt::Key_Return);  // the default button
    });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strResult, "2");
}
