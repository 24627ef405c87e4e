#include "common/SettingsDeviceEntries.h"

#include <QRegularExpression>
#include <QSettings>

#include "common/SettingsStore.h"

std::map<int, std::string> CSettingsDeviceEntries::Entries() const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral("Meridel Applikationen"), QStringLiteral("Orvane"));
    settings.beginGroup(QStringLiteral("Devices"));
    static const QRegularExpression pattern(QStringLiteral("^COM([0-9]{1,3})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    std::map<int, std::string> entries;
    for (const QString& key : settings.childKeys()) {
        const QRegularExpressionMatch match = pattern.match(key);
        if (!match.hasMatch()) {
            continue;
        }
        const int number = match.captured(1).toInt();
        const QString path = settings.value(key).toString().trimmed();
        if (number >= 1 && number <= 255 && !path.isEmpty()) {
            entries[number] = path.toStdString();
        }
    }
    return entries;
}

void CSettingsDeviceEntries::WriteEntry(int comNumber, const std::string& path) {
    CSettingsStore::WriteProfileString(QStringLiteral("Devices"),
                                       QStringLiteral("COM%1").arg(comNumber),
                                       QString::fromStdString(path));
}
