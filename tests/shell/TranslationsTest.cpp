#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "common/Language.h"
#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "resources/FrameResources.h"

namespace {

// The catalogue sources of every folder, <folder>/translations/*.ts.
QStringList CatalogueSources() {
    const QDir root(QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../.."));
    QStringList files;
    for (const QString& folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir translations(root.filePath(folder + "/translations"));
        for (const QString& name : translations.entryList({"*.ts"}, QDir::Files)) {
            files << translations.filePath(name);
        }
    }
    return files;
}

// Every message of every catalogue source has an English text that is final.
TEST(Translations, EverySourceTextHasAFinishedEnglishTranslation) {
    const QStringList files = CatalogueSources();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        QXmlStreamReader xml(&file);
        QString source;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value("type").toString();
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                ++messages;
                EXPECT_TRUE(type.isEmpty()) << name.toStdString() << ": " << type.toStdString()
                                            << " for " << source.toStdString();
                EXPECT_FALSE(text.isEmpty()) << name.toStdString() << ": " << source.toStdString();
            }
        }
        EXPECT_FALSE(xml.hasError())
            << name.toStdString() << ": " << xml.errorString().toStdString();
        EXPECT_GT(messages, 0) << name.toStdString();
    }
}

// The built catalogue reaches every text of the menu and the string table.
TEST(Translations, TheCatalogueTranslatesMenuStringsAndPrompts) {
    ASSERT_TRUE(CLanguage::LoadEnglish());
    for (const Res::MenuPopup& popup : Res::MainMenu()) {
        if (QString(popup.title) != "&?") {
            EXPECT_NE(QCoreApplication::translate("Menu", popup.title), QString(popup.title));
        }
        for (const Res::MenuItem& item : popup.items) {
            if (item.id != 0) {
                EXPECT_NE(QCoreApplication::translate("Menu", item.text), QString(item.text))
                    << item.id;
            }
        }
    }
    std::vector<unsigned> ids;
    for (unsigned id = Res::IDS_READ_ERROR; id <= Res::IDS_WRITE_ERROR; ++id) {
        ids.push_back(id);
    }
    for (unsigned id : {Res::IDS_IDLE_MESSAGE, Res::IDP_PARSE_INT, Res::IDP_PARSE_INT_RANGE,
                        Res::IDP_PARSE_STRING_SIZE, Res::IDP_PARSE_UINT, Res::IDP_ASK_TO_SAVE,
                        Res::IDP_FAILED_TO_SAVE_DOC, Res::IDP_FAILED_TO_OPEN_DOC,
                        Res::IDP_FAILED_TO_CREATE_DOC, Res::IDS_UNTITLED,
                        Res::IDS_ASK_ERASE_ALL_KEYS, Res::IDS_ASK_RESET, Res::IDS_ASK_TEACH_IN_OFF,
                        Res::IDS_TEACH_IN_ON, Res::IDS_NO_READER_ANSWERS, Res::IDS_READER_PAUSED}) {
        ids.push_back(id);
    }
    for (unsigned id = Res::IDS_LINE_ERRORS; id <= Res::IDS_TEACH_IN_MAYBE_ON; ++id) {
        ids.push_back(id);
    }
    for (const Res::MenuPopup& popup : Res::MainMenu()) {
        for (const Res::MenuItem& item : popup.items) {
            if (item.id != 0) {
                ids.push_back(item.id);  // the prompt and tool tip of each command
            }
        }
    }
    for (unsigned id : ids) {
        const QString english = LoadString(id);
        CLanguage::UnloadEnglish();
        const QString german = LoadString(id);
        ASSERT_TRUE(CLanguage::LoadEnglish());
        EXPECT_FALSE(german.isEmpty()) << id;
        EXPECT_NE(english, german) << id << " " << german.toStdString();
        // A prompt keeps its tool tip part.
        EXPECT_EQ(english.count('\n') > 0, german.count('\n') > 0) << id;
    }
    CLanguage::UnloadEnglish();
}

}  // namespace
