#include "common/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "common/ProgramFiles.h"

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
    for (const QString& path : CProgramFiles::Find(kCatalogue, CatalogueFolders())) {
        if (translator->load(path)) {
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

QString CLanguage::EnglishCatalogue() {
    return g_english ? g_english->filePath() : QString();
}

QStringList CLanguage::CatalogueFolders() {
    return g_folderOverride.isEmpty() ? CProgramFiles::Folders() : g_folderOverride;
}

void CLanguage::SetCatalogueFolders(const QStringList& folders) {
    g_folderOverride = folders;
}
