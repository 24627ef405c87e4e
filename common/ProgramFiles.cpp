#include "common/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>

QString GetAppDirectory() {
    return QCoreApplication::applicationDirPath();
}

QStringList CProgramFiles::Folders(const QString& appDirectory) {
    QStringList folders{QDir::cleanPath(appDirectory),
                        QDir::cleanPath(appDirectory + QStringLiteral("/../share/orvane"))};
    folders.removeDuplicates();
    return folders;
}

QStringList CProgramFiles::Folders() {
    return Folders(GetAppDirectory());
}

QStringList CProgramFiles::Find(const QString& pattern, const QStringList& folders) {
    QStringList found;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
            found << dir.filePath(name);
        }
    }
    return found;
}

QStringList CProgramFiles::Find(const QString& pattern) {
    return Find(pattern, Folders());
}
