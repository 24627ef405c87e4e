#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>

#include "common/ResourceIds.h"
#include "protocol/ReaderProtocol.h"
#include "views/ClearBufferDlg.h"
#include "views/KeyNumbersDlg.h"
#include "views/ModeDlg.h"
#include "views/ParametersDlg.h"

// The English catalogue beside the executable carries the dialogs' texts.
TEST(DialogTranslation, EnglishCatalogueReachesTheDialogs) {
    QTranslator english;
    ASSERT_TRUE(english.load(QCoreApplication::applicationDirPath() + "/OrvaneEng.qm"));
    QCoreApplication::installTranslator(&english);
    CReaderProtocol reader;
    {
        CParametersDlg parameters(&reader);
        EXPECT_EQ(parameters.windowTitle(), "Set parameters");
        EXPECT_EQ(parameters.findChild<QPushButton*>("2")->text(), "Close");
        CModeDlg mode(Res::IDD_MODE_EXTENDED);
        EXPECT_EQ(mode.findChild<QRadioButton*>("1006")->text(),
                  "without lock monitoring / RS232 mode");
        EXPECT_EQ(mode.findChild<QPushButton*>("1")->text(), "Set");
        CKeyNumbersDlg keys(&reader);
        EXPECT_EQ(keys.findChild<QPushButton*>("1015")->text(), "Read\nkeys");
        CClearBufferDlg clear(&reader);
        EXPECT_EQ(clear.windowTitle(), "Clear data buffer");
    }
    QCoreApplication::removeTranslator(&english);
    CParametersDlg german(&reader);
    EXPECT_EQ(german.windowTitle(), "Parameter setzen");
}
