#pragma once

#include <QStringList>

// The translators of the process. German is the source language of every
// text; the English catalogue OrvaneEng.qm translates them. Qt's own texts
// (standard buttons, file and print dialogs) come from Qt's German catalogue
// while the interface is German. User-interface thread only.
class CLanguage {
public:
    static void InstallQtGerman();
    static void RemoveQtGerman();

    // Loads OrvaneEng.qm from the first catalogue folder that holds a loadable
    // one and installs it; false when none does.
    static bool LoadEnglish();
    static void UnloadEnglish();
    static bool IsEnglishLoaded();
    // The file the English catalogue was loaded from; empty while not loaded.
    static QString EnglishCatalogue();

    // The program's file folders (CProgramFiles), unless a test replaced them.
    static QStringList CatalogueFolders();
    // Replaces the folders searched (empty restores the default); for tests.
    static void SetCatalogueFolders(const QStringList& folders);
};
