#include "ctl/FleetFile.h"

#include <QFile>
#include <QRegularExpression>

#include "ctl/CtlCommandLine.h"
#include "ctl/CtlLink.h"

namespace {

// A name that can begin a file name as it is: record files are named after it.
const QRegularExpression& SectionName() {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9_.-]{0,63}$"));
    return pattern;
}

}  // namespace

bool CFleetFile::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_strError = tr("kann nicht gelesen werden: %1").arg(file.errorString());
        return false;
    }
    return Parse(QString::fromUtf8(file.readAll()));
}

bool CFleetFile::Parse(const QString& text) {
    m_readers.clear();
    m_strError.clear();
    // A list saved by an editor that marks UTF-8 with a byte order mark.
    const QStringList lines =
        (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(QLatin1Char('\n'));
    QStringList keysSeen;
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            const QString name =
                line.endsWith(QLatin1Char(']')) ? line.mid(1, line.size() - 2) : QString();
            if (!SectionName().match(name).hasMatch()) {
                return Fail(number, tr("„%1“ ist kein Lesername: [Name] aus Buchstaben, "
                                       "Ziffern, _ . und -, höchstens 64 Zeichen.")
                                        .arg(line));
            }
            for (const CFleetReader& reader : m_readers) {
                if (reader.name.compare(name, Qt::CaseInsensitive) == 0) {
                    return Fail(number, tr("[%1] steht schon in Zeile %2.")
                                            .arg(name, QString::number(reader.line)));
                }
            }
            m_readers.push_back({name, QString(), 0, 0, number});
            keysSeen.clear();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            return Fail(number, tr("weder [Leser] noch Schlüssel=Wert: „%1“").arg(line));
        }
        if (m_readers.empty()) {
            return Fail(number, tr("„%1“ steht vor dem ersten [Leser].").arg(line));
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        const QString lower = key.toLower();
        if (keysSeen.contains(lower)) {
            return Fail(number, tr("%1= steht zweimal in [%2].").arg(key, m_readers.back().name));
        }
        keysSeen << lower;
        CFleetReader& reader = m_readers.back();
        QString refusal;
        if (lower == QStringLiteral("port")) {
            reader.port = value;
            if (!CCtlLink::IsPortForm(value)) {
                refusal = CCtlLink::PortForms();
            }
        } else if (lower == QStringLiteral("baudrate")) {
            refusal = CCtlCommandLine::CheckBaud(value, reader.baud);
        } else if (lower == QStringLiteral("timeout")) {
            refusal = CCtlCommandLine::CheckTimeout(value, reader.timeoutMs);
        } else {
            return Fail(number,
                        tr("unbekannter Schlüssel „%1“ (Port, Baudrate, Timeout).").arg(key));
        }
        if (!refusal.isEmpty()) {
            return Fail(number, QStringLiteral("%1=%2: %3").arg(key, value, refusal));
        }
    }
    return Check();
}

bool CFleetFile::Check() {
    if (m_readers.empty()) {
        m_strError = tr("kein [Leser] darin.");
        return false;
    }
    for (size_t i = 0; i < m_readers.size(); ++i) {
        const CFleetReader& reader = m_readers[i];
        if (reader.port.isEmpty()) {
            return Fail(reader.line, tr("[%1] hat kein Port=.").arg(reader.name));
        }
        // Two links to one port would only take turns failing.
        for (size_t j = 0; j < i; ++j) {
            if (CCtlLink::OpenName(m_readers[j].port) == CCtlLink::OpenName(reader.port)) {
                return Fail(reader.line, tr("[%1] nennt dieselbe Schnittstelle wie [%2]: %3")
                                             .arg(reader.name, m_readers[j].name, reader.port));
            }
        }
    }
    return true;
}

bool CFleetFile::Fail(int line, const QString& text) {
    m_strError = tr("Zeile %1: %2").arg(QString::number(line), text);
    return false;
}
