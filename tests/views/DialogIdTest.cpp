#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "DialogTestSupport.h"
#include "common/ResourceIds.h"
#include "views/IdDlg.h"

namespace {
QLineEdit* IdEdit(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>("1008");
}
}  // namespace

TEST(DialogId, UnchangedReturnsZeroOne) {
    CIdDlg dialog;
    QString shown;
    CModalScript script;
    script.On<CIdDlg>([&](CIdDlg* d) {
        shown = IdEdit(d)->text();
        QTest::keyClick(d, Qt::Key_Return);
    });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(shown, "01");
    EXPECT_EQ(dialog.m_strId, "01");
    EXPECT_EQ(dialog.windowTitle(), "ID Setzen");
}

TEST(DialogId, DigitsTypedAtOnceReplaceTheIdAndReturnSetsThem) {
    CIdDlg dialog;
    CModalScript script;
    script.On<CIdDlg>([](CIdDlg* d) {
        QTest::keyClicks(d->focusWidget(), "42");
        QTest::keyClick(d->focusWidget(), Qt::Key_Return);
    });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strId, "42");
}

TEST(DialogId, OneDigitIsRefusedAndTheDialogStaysOpen) {
    CIdDlg dialog;
    bool focusBackInEdit = false;
    CModalScript script;
    script
        .On<CIdDlg>([](CIdDlg* d) {
            QLineEdit* edit = IdEdit(d);
            edit->selectAll();
            QTest::keyClicks(edit, "7");
            ClickControl(d, Res::IDOK);
        })
        .Message(QMessageBox::Ok)
        .On<CIdDlg>([&](CIdDlg* d) {
            QLineEdit* edit = IdEdit(d);
            focusBackInEdit = d->focusWidget() == edit;
            QTest::keyClick(edit, Qt::Key_End);
            QTest::keyClicks(edit, "4");
            ClickControl(d, Res::IDOK);
        });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(script.Done());
    ASSERT_EQ(script.m_messages.size(), 1);
    EXPECT_EQ(script.m_messages[0], "Es müssen genau 2 Ziffern eingegeben werden!");
    EXPECT_TRUE(focusBackInEdit);
    EXPECT_EQ(dialog.m_strId, "74");
}

TEST(DialogId, EditTakesOnlyTwoDigits) {
    CIdDlg dialog;
    CModalScript script;
    script.On<CIdDlg>([](CIdDlg* d) {
        QLineEdit* edit = IdEdit(d);
        edit->selectAll();
        QTest::keyClicks(edit, "x9-38");
        ClickControl(d, Res::IDOK);
    });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strId, "93");
    EXPECT_TRUE(script.m_unexpected.isEmpty()) << script.m_unexpected.join("; ").toStdString();
}

TEST(DialogId, AbbrechenKeepsTheId) {
    CIdDlg dialog;
    CModalScript script;
    script.On<CIdDlg>([](CIdDlg* d) {
        QLineEdit* edit = IdEdit(d);
        edit->selectAll();
        QTest::keyClicks(edit, "55");
        ClickControl(d, Res::IDCANCEL);
    });
    script.Start();
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.m_strId, "01");
}
