#pragma once

#include <QString>

// The per-user settings store: the file "Meridel Applikationen/Orvane.conf"
// below the user's configuration folder, one group per section. Every call
// goes to the store (no caching), so a value written anywhere is seen by the
// next read anywhere; a missing or unreadable entry reads as the caller's default.
class CSettingsStore {
public:
    static int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
    static QString GetProfileString(const QString& section, const QString& entry,
                                    const QString& defaultValue = QString());
    static bool WriteProfileInt(const QString& section, const QString& entry, int value);
    static bool WriteProfileString(const QString& section, const QString& entry,
                                   const QString& value);
};
