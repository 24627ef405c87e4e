#pragma once

#include <QString>
#include <QStringList>

// The executable's folder, without a trailing separator.
QString GetAppDirectory();

// Where the program finds its own files, the English catalogue and the
// manual: beside the executable first, so that a build folder works as it is
// and the manual there is the first PDF in the program's folder; then the
// installed data folder relative to the executable (../share/orvane), so that
// an installation works wherever it was put (a package, /opt, a staging
// folder).
class CProgramFiles {
public:
    // The folders searched, in order, for an executable in `appDirectory`.
    static QStringList Folders(const QString& appDirectory);
    // The same for this program's executable.
    static QStringList Folders();

    // Full paths of the files (not folders) whose names match `pattern`, a
    // wildcard, case ignored: folder by folder in the order given, and by name
    // within a folder, case ignored.
    static QStringList Find(const QString& pattern, const QStringList& folders);
    static QStringList Find(const QString& pattern);
};
