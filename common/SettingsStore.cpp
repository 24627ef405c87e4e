#include "common/SettingsStore.h"

#include <QSettings>

namespace {

QString Key(const QString& section, const QString& entry) {
    return section + QLatin1Char('/') + entry;
}

bool Write(const QString& key, const QVariant& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral("Meridel Applikationen"), QStringLiteral("Orvane"));
    settings.setValue(key, value);
    // Written through at once: a second copy of the program reads it next.
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QVariant Read(const QString& key) {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QStringLiteral("Meridel Applikationen"), QStringLiteral("Orvane"));
    return settings.value(key);
}

}  // namespace

int CSettingsStore::GetProfileInt(const QString& section, const QString& entry, int defaultValue) {
    const QVariant value = Read(Key(section, entry));
    if (!value.isValid()) {
        return defaultValue;
    }
    // Entries written by hand are text; anything that is not a whole number
    // that fits reads as the default, like a value of the wrong type.
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

QString CSettingsStore::GetProfileString(const QString& section, const QString& entry,
                                         const QString& defaultValue) {
    const QVariant value = Read(Key(section, entry));
    if (!value.isValid() || !value.canConvert<QString>()) {
        return defaultValue;
    }
    return value.toString();
}

bool CSettingsStore::WriteProfileInt(const QString& section, const QString& entry, int value) {
    return Write(Key(section, entry), value);
}

bool CSettingsStore::WriteProfileString(const QString& section, const QString& entry,
                                        const QString& value) {
    return Write(Key(section, entry), value);
}
