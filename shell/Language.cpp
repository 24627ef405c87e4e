#include "shell/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTranslator>

namespace {

QPointer<QTranslator> g_qtGerman;
QPointer<QTranslator> g_english;
QStringList g_folderOverride;

const QString kCatalogue = QStringLiteral("OrvaneEng.qm");

}  // namespace

void CLanguage::InstallQtGerman() {
    if (g_qtGerman) {
        return;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        // Without Qt's catalogue the standard texts stay English; nothing else changes.
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    g_qtGerman = translator;
}

void CLanguage::RemoveQtGerman() {
    if (g_qtGerman) {
        QCoreApplication::removeTranslator(g_qtGerman);
        delete g_qtGerman;
    }
}

bool CLanguage::LoadEnglish() {
    if (g_english) {
        return true;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& folder : CatalogueFolders()) {
        if (QFileInfo::exists(QDir(folder).filePath(kCatalogue)) &&
            translator->load(kCatalogue, folder)) {
            QCoreApplication::installTranslator(translator);
            g_english = translator;
            return true;
        }
    }
    delete translator;
    return false;
}

void CLanguage::UnloadEnglish() {
    if (g_english) {
        QCoreApplication::removeTranslator(g_english);
        delete g_english;
    }
}

bool CLanguage::IsEnglishLoaded() {
    return !g_english.isNull();
}

QStringList CLanguage::CatalogueFolders() {
    if (!g_folderOverride.isEmpty()) {
        return g_folderOverride;
    }
    const QString appDir = QCoreApplication::applicationDirPath();
    QStringList folders{appDir, QDir::cleanPath(appDir + QStringLiteral("/../share/orvane"))};
    for (const QString& dataDir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        folders << QDir(dataDir).filePath(QStringLiteral("orvane"));
    }
    folders.removeDuplicates();
    return folders;
}

void CLanguage::SetCatalogueFolders(const QStringList& folders) {
    g_folderOverride = folders;
}
