#pragma once

#include <QCoreApplication>
#include <QString>

#include <vector>

// One reader of a list: its section's name and link.
struct CFleetReader {
    QString name;       // the section: "Tor-3"
    QString port;       // Port=, in a form --port accepts
    unsigned baud = 0;  // Baudrate=; 0: --baud or the stored one
    int timeoutMs = 0;  // Timeout=; 0: --timeout or the stored one
    int line = 0;       // of the section's header, for messages
};

// The list of readers that --readers names: an INI file with a section per
// reader ("[Tor-3]") holding Port= and optionally Baudrate= and Timeout=;
// "#" and ";" begin comment lines. Read strictly: whatever is not a
// section, a known key with a valid value or a comment is refused, so that
// a typing error cannot make a timer skip a door unnoticed.
class CFleetFile {
    Q_DECLARE_TR_FUNCTIONS(CFleetFile)
public:
    // False with Error() ("Zeile 4: …" or "[Tor-3]: …") on a fault.
    bool Load(const QString& path);
    bool Parse(const QString& text);

    const std::vector<CFleetReader>& Readers() const { return m_readers; }
    const QString& Error() const { return m_strError; }

private:
    bool Fail(int line, const QString& text);
    bool Check();

    std::vector<CFleetReader> m_readers;
    QString m_strError;
};
