#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>

#include <random>

#include "common/Language.h"
#include "common/ResourceIds.h"
#include "shell/MainFrame.h"
#include "tests/GuiTestSupport.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

const QString kCatalogue = QStringLiteral("OrvaneEng.qm");

// The built catalogue beside the test program.
QByteArray GoodCatalogue() {
    QFile file(QDir(QCoreApplication::applicationDirPath()).filePath(kCatalogue));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray RandomBytes(qsizetype size) {
    std::mt19937 random(11);
    QByteArray bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

enum class Broken { Empty, RandomBytes, HeaderThenGarbage, CutInHalf };

QByteArray BrokenCatalogue(Broken kind) {
    static const QByteArray kHeader = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");
    switch (kind) {
        case Broken::Empty:
            return {};
        case Broken::RandomBytes:
            return RandomBytes(4096);
        case Broken::HeaderThenGarbage:
            return kHeader + RandomBytes(4096);
        case Broken::CutInHalf: {
            const QByteArray good = GoodCatalogue();
            return good.left(good.size() / 2);
        }
    }
    return {};
}

// A frame with its view, the language catalogue searched in a folder of the
// test's own that holds a broken catalogue.
class LanguageFault : public ::testing::TestWithParam<Broken> {
protected:
    void SetUp() override {
        ASSERT_FALSE(GoodCatalogue().isEmpty()) << "the catalogue has not been built";
        ASSERT_NO_FATAL_FAILURE(Put(m_broken, BrokenCatalogue(GetParam())));
        CLanguage::InstallQtGerman();
        m_frame = std::make_unique<CMainFrame>();
        m_frame->SetView(new COrvaneView(&m_doc));
        ASSERT_TRUE(m_frame->OnCreate());
    }
    void TearDown() override {
        m_frame.reset();
        CLanguage::UnloadEnglish();
        CLanguage::InstallQtGerman();
        CLanguage::SetCatalogueFolders({});
    }
    static void Put(const QTemporaryDir& dir, const QByteArray& bytes) {
        QFile file(dir.filePath(kCatalogue));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    CTempSettings m_store;
    QTemporaryDir m_broken;
    COrvaneDoc m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_P(LanguageFault, ABrokenCatalogueGivesMessage10017AndTheInterfaceStaysGerman) {
    CLanguage::SetCatalogueFolders({m_broken.path()});
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    CModalScript driver;
    driver.On<QMessageBox>([&](QMessageBox* box) {
        icon = box->icon();
        buttons = box->standardButtons();
        driver.m_messages << box->text();
        box->button(QMessageBox::Ok)->click();
    });
    m_frame->RunCommand(Res::ID_LANGUAGE_ENGLISH);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(driver.m_messages, QStringList{"Die Sprachinformationen konnten nicht geladen werden!"
                                             "\r\nStandardsprache Deutsch wird geladen!"});
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_FALSE(m_frame->IsEnglish());
    EXPECT_FALSE(CLanguage::IsEnglishLoaded());
    EXPECT_EQ(QCoreApplication::translate("Strings", "Fehler beim Lesen der Daten"),
              "Fehler beim Lesen der Daten");
}

TEST_P(LanguageFault, ABrokenCatalogueInTheFirstFolderDoesNotHideAGoodOneInTheNext) {
    QTemporaryDir good;
    ASSERT_NO_FATAL_FAILURE(Put(good, GoodCatalogue()));
    CLanguage::SetCatalogueFolders({m_broken.path(), good.path()});
    CModalScript driver;
    m_frame->RunCommand(Res::ID_LANGUAGE_ENGLISH);
    EXPECT_TRUE(driver.m_unexpected.isEmpty()) << driver.m_unexpected.join("; ").toStdString();
    EXPECT_TRUE(m_frame->IsEnglish());
    EXPECT_NE(QCoreApplication::translate("Strings", "Fehler beim Lesen der Daten"),
              "Fehler beim Lesen der Daten");
}

INSTANTIATE_TEST_SUITE_P(BrokenCatalogue, LanguageFault,
                         ::testing::Values(Broken::Empty, Broken::RandomBytes,
                                           Broken::HeaderThenGarbage, Broken::CutInHalf));

}  // namespace
