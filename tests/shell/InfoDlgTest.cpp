#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include "shell/HyperlinkStatic.h"
#include "shell/InfoDlg.h"
#include "views/TransparentBitmap.h"

namespace {

template <typename T>
T* Control(const QWidget& dialog, int id) {
    return dialog.findChild<T*>(QString::number(id));
}

class InfoDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous =
            CHyperlinkStatic::SetOpener([this](const QString& text) { m_opened.append(text); });
    }
    void TearDown() override { CHyperlinkStatic::SetOpener(m_previous); }

    QStringList m_opened;
    CHyperlinkStatic::Opener m_previous;
};

TEST_F(InfoDlgTest, CaptionAndVersionLine) {
    CInfoDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Info über Orvane"));
    auto* version = Control<QLabel>(dialog, CInfoDlg::kVersionId);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Orvane Version 1.03");
}

TEST_F(InfoDlgTest, LinksAreBlueUnderlinedHandCursorAndCompleteAddresses) {
    CInfoDlg dialog;
    for (int id : {CInfoDlg::kMailLinkId, CInfoDlg::kWebLinkId}) {
        auto* link = Control<CHyperlinkStatic>(dialog, id);
        ASSERT_NE(link, nullptr) << id;
        EXPECT_TRUE(link->IsLink()) << id;
        EXPECT_EQ(link->LinkColor(), QColor(0, 0, 255)) << id;
        EXPECT_TRUE(link->font().underline()) << id;
        EXPECT_EQ(link->font().family(), dialog.font().family()) << id;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << id;
    }
    const QUrl web(Control<QLabel>(dialog, CInfoDlg::kWebLinkId)->text());
    EXPECT_EQ(web.scheme(), "https");
    EXPECT_TRUE(web.host().endsWith(".example"));
    const QUrl mail(Control<QLabel>(dialog, CInfoDlg::kMailLinkId)->text());
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_TRUE(mail.path().contains('@'));

    // On a dark desktop pure blue could hardly be read: the desktop's link colour is used.
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::Link, QColor(120, 170, 255));
    QApplication::setPalette(dark);
    CInfoDlg darkDialog;
    QApplication::setPalette(light);
    EXPECT_EQ(Control<CHyperlinkStatic>(darkDialog, CInfoDlg::kWebLinkId)->LinkColor(),
              QColor(120, 170, 255));
}

TEST_F(InfoDlgTest, ClickOnALinkOpensItOtherTextsAndThePictureDoNothing) {
    CInfoDlg dialog;
    dialog.show();
    QTest::mouseClick(Control<QWidget>(dialog, CInfoDlg::kVersionId), Qt::LeftButton);
    QTest::mouseClick(Control<QWidget>(dialog, CInfoDlg::kPictureId), Qt::LeftButton);
    EXPECT_TRUE(m_opened.isEmpty());

    QTest::mouseClick(Control<QWidget>(dialog, CInfoDlg::kWebLinkId), Qt::LeftButton);
    QTest::mouseClick(Control<QWidget>(dialog, CInfoDlg::kMailLinkId), Qt::LeftButton);
    EXPECT_EQ(m_opened, (QStringList{"https://www.meridel-applikationen.example",
                                     "mailto:service@meridel-applikationen.example"}));
}

TEST_F(InfoDlgTest, PictureIsTransparentOverTheDialogBackground) {
    CInfoDlg dialog;
    auto* picture = Control<CTransparentBitmap>(dialog, CInfoDlg::kPictureId);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->IsTransparent());
    ASSERT_EQ(picture->pixmap().size(), QSize(120, 120));
    // The picture's corner is pure white; the dialog must show its own colour there.
    ASSERT_EQ(picture->pixmap().toImage().pixelColor(0, 0), QColor(255, 255, 255));
    QPalette colours = dialog.palette();
    colours.setColor(QPalette::Window, QColor(10, 20, 30));
    dialog.setPalette(colours);
    dialog.adjustSize();
    const QImage shot = dialog.grab().toImage();
    const QPoint corner = picture->mapTo(&dialog, QPoint(0, 0));
    EXPECT_EQ(shot.pixelColor(corner), QColor(10, 20, 30));
}

TEST_F(InfoDlgTest, RunsModallyAndOkCloses) {
    CInfoDlg dialog;
    QString seenTitle;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            dialog.reject();
            return;
        }
        seenTitle = modal->windowTitle();
        QTest::mouseClick(Control<QPushButton>(*modal, 1), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(seenTitle, QString::fromUtf8("Info über Orvane"));
}

TEST_F(InfoDlgTest, EnglishCatalogueTranslatesTheDialog) {
    QTranslator english;
    ASSERT_TRUE(
        english.load(QDir(QCoreApplication::applicationDirPath()).filePath("OrvaneEng.qm")));
    QCoreApplication::installTranslator(&english);
    CInfoDlg dialog;
    QCoreApplication::removeTranslator(&english);
    EXPECT_EQ(dialog.windowTitle(), "About Orvane");
    EXPECT_EQ(Control<QLabel>(dialog, CInfoDlg::kVersionId)->text(), "Orvane Version 1.03");
    const QStringList german = {"Zutritts", "Telefon", "Rechte"};
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        for (const QString& word : german) {
            EXPECT_FALSE(label->text().contains(word)) << label->text().toStdString();
        }
    }
}

}  // namespace
