#include "ctl/CtlCommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <map>

#include "common/PortSettings.h"
#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "ctl/ClockText.h"
#include "ctl/CtlExit.h"
#include "ctl/CtlLink.h"

namespace {

constexpr int kIdLength = 2;
constexpr int kMinSeconds = 0;
constexpr int kMaxSeconds = 999;

// The arguments a command takes and the options that apply to it.
struct CommandRule {
    int minArgs;
    int maxArgs;
    QStringList options;
};

const QStringList kLinkOptions{QStringLiteral("port"), QStringLiteral("baud"),
                               QStringLiteral("timeout")};

const std::map<QString, CommandRule>& Rules() {
    static const std::map<QString, CommandRule> rules = {
        {QStringLiteral("ports"), {0, 0, {QStringLiteral("json")}}},
        {QStringLiteral("records"), {0, 0, kLinkOptions + QStringList{QStringLiteral("output")}}},
        {QStringLiteral("collect"),
         {1, 1, kLinkOptions + QStringList{QStringLiteral("clear"), QStringLiteral("json")}}},
        {QStringLiteral("clock"),
         {0, 0,
          kLinkOptions + QStringList{QStringLiteral("set"), QStringLiteral("max-drift"),
                                     QStringLiteral("json")}}},
        {QStringLiteral("parameters"), {0, 0, kLinkOptions + QStringList{QStringLiteral("json")}}},
        {QStringLiteral("set"), {2, 3, kLinkOptions}},
        {QStringLiteral("reset"), {0, 0, kLinkOptions + QStringList{QStringLiteral("yes")}}},
        {QStringLiteral("keys"),
         {0, 0, kLinkOptions + QStringList{QStringLiteral("write"), QStringLiteral("yes")}}},
        {QStringLiteral("memory-test"), {0, 0, kLinkOptions + QStringList{QStringLiteral("yes")}}},
        {QStringLiteral("clear"), {0, 0, kLinkOptions + QStringList{QStringLiteral("yes")}}},
    };
    return rules;
}

// A whole number as the dialogs take it: optional sign, digits only.
bool WholeNumber(const QString& text, qlonglong& value) {
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    bool ok = false;
    value = text.toLongLong(&ok);
    return pattern.match(text).hasMatch() && ok;
}

QString Choices(std::initializer_list<std::pair<const char*, const char*>> labels) {
    QStringList parts;
    int index = 0;
    for (const auto& [context, label] : labels) {
        parts << QStringLiteral("%1 = %2").arg(QString::number(index++),
                                               QCoreApplication::translate(context, label));
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace

CCtlCommandLine::Action CCtlCommandLine::Parse(const QStringList& arguments) {
    m_strProgram =
        arguments.isEmpty() ? QStringLiteral("orvanectl") : QFileInfo(arguments.first()).fileName();
    m_request = CCtlRequest{};
    m_strOutput.clear();
    m_strError.clear();
    m_nStatus = 0;

    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Zeigt diese Hilfe an."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Zeigt die Version an."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        tr("Schnittstelle: COM-Name (COM3), „USB: “ und Seriennummer, Gerätepfad "
           "(/dev/ttyUSB0) oder -name (ttyUSB0), rfc2217://Rechner:Port oder "
           "socket://Rechner:Port. Sonst die im Fenster gewählte."),
        tr("Name"));
    const QCommandLineOption baud(
        QStringLiteral("baud"), tr("Baudrate. Sonst die im Fenster gewählte (19200)."), tr("Baud"));
    const QCommandLineOption timeout(
        QStringLiteral("timeout"),
        tr("Timeout der Antworten in ms, 10 bis 300000. Sonst der im Fenster gewählte (500)."),
        tr("ms"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  tr("Ausgabe als JSON (ports, clock, parameters, collect)."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    tr("records: in diese Datei schreiben (sie wird als Ganzes "
                                       "ersetzt) statt auf die Standardausgabe."),
                                    tr("Datei"));
    const QCommandLineOption clear(
        QStringLiteral("clear"),
        tr("collect: danach den Datenbuffer löschen, nur wenn alles gesichert ist."));
    const QCommandLineOption set(
        QStringLiteral("set"),
        tr("clock: Datum/Zeit setzen, „now“ für die Uhr des PCs oder TTMMJJhhmmss."), tr("Zeit"));
    const QCommandLineOption maxDrift(
        QStringLiteral("max-drift"),
        tr("clock: nur setzen (auf die Uhr des PCs), wenn die Uhr des Lesers um mehr als so "
           "viele Sekunden abweicht."),
        tr("Sekunden"));
    const QCommandLineOption write(QStringLiteral("write"),
                                   tr("keys: die Schlüsselnummern dieser Datei schreiben (eine "
                                      "je Zeile)."),
                                   tr("Datei"));
    const QCommandLineOption readers(
        QStringLiteral("readers"),
        tr("records, collect, clock, parameters für jeden Leser dieser Liste, gleichzeitig: "
           "eine INI-Datei mit einem Abschnitt [Name] je Leser (Port=, wahlweise Baudrate= und "
           "Timeout=); records -o nennt dann einen Ordner."),
        tr("Datei"));
    const QCommandLineOption jobs(
        QStringLiteral("jobs"),
        tr("--readers: höchstens so viele Leser gleichzeitig (sonst alle, bis %1).")
            .arg(QString::number(kMaxJobs)),
        tr("Anzahl"));
    const QCommandLineOption yes(
        QStringLiteral("yes"),
        tr("Bestätigt reset, clear, memory-test und keys --write einer Datei ohne Schlüssel."));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Führt die Befehle des Orvane-Lesers ohne Fenster aus: von Hand, aus Skripten "
           "und aus einem systemd-Timer. Ohne --port, --baud und --timeout gelten die "
           "Einstellungen des Fensters, ebenso seine Sprache."));
    parser.addOptions({help, version, port, baud, timeout, json, output, clear, set, maxDrift,
                       write, readers, jobs, yes});
    parser.addPositionalArgument(tr("Befehl"), tr("Der Befehl und seine Argumente (siehe oben)."),
                                 tr("Befehl [Argumente]"));
    if (!parser.parse(arguments.isEmpty() ? QStringList{m_strProgram} : arguments)) {
        return Fail(parser.errorText());
    }
    if (parser.isSet(help)) {
        m_strOutput = HelpText(parser.helpText());
        return Action::Exit;
    }
    if (parser.isSet(version)) {
#ifdef ORVANE_PRODUCT_VERSION
        m_strOutput = QStringLiteral("orvanectl (Orvane) %1\n").arg(ORVANE_PRODUCT_VERSION);
#endif
        return Action::Exit;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return Fail(tr("Kein Befehl angegeben."));
    }
    m_request.command = positional.takeFirst();
    m_request.args = positional;
    const auto rule = Rules().find(m_request.command);
    if (rule == Rules().end()) {
        return Fail(tr("Unbekannter Befehl „%1“.").arg(m_request.command));
    }
    for (const QString& name : parser.optionNames()) {
        const QString longName = name == QStringLiteral("o") ? QStringLiteral("output") : name;
        if (longName == QStringLiteral("readers") || longName == QStringLiteral("jobs")) {
            continue;  // checked with the list
        }
        if (!rule->second.options.contains(longName)) {
            return Fail(tr("Die Option --%1 gilt nicht für %2.").arg(longName, m_request.command));
        }
    }
    if (m_request.args.size() < rule->second.minArgs) {
        return Fail(tr("%1: Es fehlt ein Argument.").arg(m_request.command));
    }
    if (m_request.args.size() > rule->second.maxArgs) {
        return Fail(tr("%1: Zu viele Argumente.").arg(m_request.command));
    }

    qlonglong number = 0;
    m_request.port = parser.value(port);
    if (parser.isSet(port) && !CCtlLink::IsPortForm(m_request.port)) {
        return Fail(tr("--port „%1“: %2").arg(m_request.port, CCtlLink::PortForms()));
    }
    if (parser.isSet(baud)) {
        if (const QString refusal = CheckBaud(parser.value(baud), m_request.baud);
            !refusal.isEmpty()) {
            return Refuse(QStringLiteral("--baud"), refusal);
        }
    }
    if (parser.isSet(timeout)) {
        if (const QString refusal = CheckTimeout(parser.value(timeout), m_request.timeoutMs);
            !refusal.isEmpty()) {
            return Refuse(QStringLiteral("--timeout"), refusal);
        }
    }
    m_request.json = parser.isSet(json);
    m_request.clear = parser.isSet(clear);
    m_request.yes = parser.isSet(yes);
    m_request.output = parser.value(output);
    m_request.keyFile = parser.value(write);
    if (parser.isSet(set)) {
        m_request.clockDigits = parser.value(set);
        if (m_request.clockDigits != QStringLiteral("now") &&
            !CClockText::IsValidDigits(m_request.clockDigits)) {
            return Refuse(QStringLiteral("--set"),
                          tr("„%1“ ist keine gültige Zeit: erwartet wird now oder TTMMJJhhmmss.")
                              .arg(m_request.clockDigits));
        }
    }
    if (parser.isSet(maxDrift)) {
        if (!WholeNumber(parser.value(maxDrift), number) || number < 0 || number > 999999999) {
            return Refuse(QStringLiteral("--max-drift"), LoadString(Res::IDP_PARSE_UINT));
        }
        if (parser.isSet(set) && m_request.clockDigits != QStringLiteral("now")) {
            return Fail(
                tr("--max-drift vergleicht mit der Uhr des PCs und geht nur mit --set now."));
        }
        m_request.maxDriftS = static_cast<int>(number);
        m_request.clockDigits = QStringLiteral("now");
    }
    if (parser.isSet(jobs)) {
        if (!parser.isSet(readers)) {
            return Fail(tr("--jobs gilt nur mit --readers."));
        }
        if (!WholeNumber(parser.value(jobs), number) || number < 1 || number > 256) {
            return Refuse(QStringLiteral("--jobs"),
                          LoadString(Res::IDP_PARSE_INT_RANGE)
                              .arg(QStringLiteral("1"), QStringLiteral("256")));
        }
        m_request.jobs = static_cast<int>(number);
    }
    if (parser.isSet(readers)) {
        return CheckFleet(parser.value(readers), parser.isSet(port));
    }
    return CheckCommand();
}

CCtlCommandLine::Action CCtlCommandLine::CheckFleet(const QString& file, bool portGiven) {
    // Commands that read, or that set what is the same for every reader.
    // The others change a single door's set-up or erase without a read-out,
    // and stay one reader at a time.
    static const QStringList fleetCommands{QStringLiteral("records"), QStringLiteral("collect"),
                                           QStringLiteral("clock"), QStringLiteral("parameters")};
    if (!fleetCommands.contains(m_request.command)) {
        return Fail(tr("%1 gilt für einen Leser, nicht für eine Liste (--readers geht mit "
                       "records, collect, clock und parameters).")
                        .arg(m_request.command));
    }
    if (portGiven) {
        return Fail(
            tr("--port und --readers schließen einander aus: die Liste nennt die "
               "Schnittstellen."));
    }
    if (m_request.command == QStringLiteral("records") && m_request.output.isEmpty()) {
        return Fail(tr("records --readers braucht -o Ordner: dort entsteht <Name>.txt je Leser."));
    }
    CFleetFile fleet;
    if (!fleet.Load(file)) {
        return Refuse(file, fleet.Error());
    }
    m_request.fleet = fleet.Readers();
    return Action::Run;
}

QString CCtlCommandLine::CheckBaud(const QString& text, unsigned& value) {
    qlonglong number = 0;
    if (!WholeNumber(text, number) || number <= 0 || number > 4000000) {
        return LoadString(Res::IDP_PARSE_UINT);
    }
    value = static_cast<unsigned>(number);
    return {};
}

QString CCtlCommandLine::CheckTimeout(const QString& text, int& value) {
    qlonglong number = 0;
    if (!WholeNumber(text, number)) {
        return LoadString(Res::IDP_PARSE_INT);
    }
    if (number < CPortSettings::kMinTimeoutMs || number > CPortSettings::kMaxTimeoutMs) {
        return LoadString(Res::IDP_PARSE_INT_RANGE)
            .arg(QString::number(CPortSettings::kMinTimeoutMs),
                 QString::number(CPortSettings::kMaxTimeoutMs));
    }
    value = static_cast<int>(number);
    return {};
}

CCtlCommandLine::Action CCtlCommandLine::CheckCommand() {
    const QString& command = m_request.command;
    if (command == QStringLiteral("set")) {
        return CheckSet();
    }
    if (command == QStringLiteral("clear")) {
        return CheckConfirmation(LoadString(Res::IDS_ASK_CLEAR_BUFFER));
    }
    if (command == QStringLiteral("memory-test")) {
        return CheckConfirmation(LoadString(Res::IDS_ASK_MEMORY_TEST));
    }
    if (command == QStringLiteral("reset")) {
        return CheckConfirmation(tr("Parameter und Schlüssel wirklich zurücksetzen?"));
    }
    return Action::Run;
}

CCtlCommandLine::Action CCtlCommandLine::CheckSet() {
    const QString what = m_request.args.at(0);
    const QString subject = QStringLiteral("set ") + m_request.args.join(QLatin1Char(' '));
    const bool timing = what == QStringLiteral("timing");
    if (m_request.args.size() != (timing ? 3 : 2)) {
        return Fail(timing ? tr("set timing: erwartet wird V, Z oder H und ein Wert.")
                           : tr("set %1: erwartet wird genau ein Wert.").arg(what));
    }
    const QString value = m_request.args.constLast();
    if (what == QStringLiteral("id")) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]*$"));
        if (value.size() > kIdLength) {
            return Refuse(subject,
                          LoadString(Res::IDP_PARSE_STRING_SIZE).arg(QString::number(kIdLength)));
        }
        if (value.size() < kIdLength || !digits.match(value).hasMatch()) {
            return Refuse(subject, LoadString(Res::IDS_ID_TWO_DIGITS));
        }
        return Action::Run;
    }
    if (what == QStringLiteral("mode")) {
        // The model decides between two and four choices once the link is open.
        if (value.size() != 1 || value.at(0) < QLatin1Char('0') || value.at(0) > QLatin1Char('3')) {
            return Refuse(subject, ModeChoices(true));
        }
        return Action::Run;
    }
    if (what == QStringLiteral("number-format") || what == QStringLiteral("time-format")) {
        if (value != QStringLiteral("0") && value != QStringLiteral("1")) {
            const QString choices =
                what == QStringLiteral("number-format")
                    ? Choices(
                          {{"CNumberFormatDlg",
                            QT_TRANSLATE_NOOP("CNumberFormatDlg", "Hexadezimal")},
                           {"CNumberFormatDlg", QT_TRANSLATE_NOOP("CNumberFormatDlg", "Dezimal")}})
                    : Choices({{"CTimeFormatDlg",
                                QT_TRANSLATE_NOOP("CTimeFormatDlg",
                                                  "HH:MM:SS:Z (mit Zehntelsekunden)")},
                               {"CTimeFormatDlg",
                                QT_TRANSLATE_NOOP("CTimeFormatDlg",
                                                  "HH:MM:SS (ohne Zehntelsekunden)")}});
            return Refuse(subject, tr("Erlaubt sind: %1").arg(choices));
        }
        return Action::Run;
    }
    if (timing) {
        const QString letter = m_request.args.at(1).toUpper();
        if (letter != QStringLiteral("V") && letter != QStringLiteral("Z") &&
            letter != QStringLiteral("H")) {
            return Refuse(
                subject,
                tr("Erlaubt sind: V = %1, Z = %2, H = %3")
                    .arg(QCoreApplication::translate("CParametersDlg", "Verzögerungszeit:"),
                         QCoreApplication::translate("CParametersDlg", "Öffnungszeit:"),
                         QCoreApplication::translate("CParametersDlg", "Haltezeit:")));
        }
        qlonglong number = 0;
        if (!WholeNumber(value.trimmed(), number)) {
            return Refuse(subject, LoadString(Res::IDP_PARSE_INT));
        }
        if (number < kMinSeconds || number > kMaxSeconds) {
            return Refuse(subject,
                          LoadString(Res::IDP_PARSE_INT_RANGE)
                              .arg(QString::number(kMinSeconds), QString::number(kMaxSeconds)));
        }
        m_request.args = {what, letter, QString::asprintf("%03lld", number)};
        return Action::Run;
    }
    return Fail(tr("set: unbekannte Einstellung „%1“ (id, mode, number-format, time-format, "
                   "timing).")
                    .arg(what));
}

CCtlCommandLine::Action CCtlCommandLine::CheckConfirmation(const QString& question) {
    if (m_request.yes) {
        return Action::Run;
    }
    return Refuse(m_request.command, Confirmation(question));
}

QString CCtlCommandLine::Confirmation(const QString& question) {
    QString text = question;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text + QLatin1Char(' ') + tr("Zum Ausführen --yes angeben.");
}

QString CCtlCommandLine::ModeChoices(bool extended) {
    if (extended) {
        return tr("Erlaubt sind: %1")
            .arg(Choices(
                {{"CModeDlg",
                  QT_TRANSLATE_NOOP("CModeDlg", "ohne Schlossüberwachung / Mastercard Mode")},
                 {"CModeDlg",
                  QT_TRANSLATE_NOOP("CModeDlg", "mit Schlossüberwachung / Mastercard Mode")},
                 {"CModeDlg",
                  QT_TRANSLATE_NOOP("CModeDlg", "ohne Schlossüberwachung / RS232 Mode")},
                 {"CModeDlg",
                  QT_TRANSLATE_NOOP("CModeDlg", "mit Schlossüberwachung / RS232 Mode")}}));
    }
    return tr("Erlaubt sind: %1")
        .arg(Choices({{"CModeDlg", QT_TRANSLATE_NOOP("CModeDlg", "Standard")},
                      {"CModeDlg", QT_TRANSLATE_NOOP("CModeDlg", "Transparent")}}));
}

CCtlCommandLine::Action CCtlCommandLine::Fail(const QString& reason) {
    m_strError = QStringLiteral("%1: %2\n").arg(m_strProgram, reason) +
                 tr("„%1 --help“ liefert weitere Informationen.").arg(m_strProgram) +
                 QLatin1Char('\n');
    m_nStatus = static_cast<int>(CtlExit::Usage);
    return Action::Exit;
}

CCtlCommandLine::Action CCtlCommandLine::Refuse(const QString& subject, const QString& reason) {
    m_strError = QStringLiteral("%1: %2: %3\n").arg(m_strProgram, subject, reason);
    m_nStatus = static_cast<int>(CtlExit::Usage);
    return Action::Exit;
}

QString CCtlCommandLine::HelpText(const QString& parserHelp) const {
    // The commands follow the description, the exit statuses the options.
    const QString commands =
        tr("Befehle:\n"
           "  ports                  die COM-Tabelle und die USB-Adapter\n"
           "  records [-o Datei]     Datensätze lesen, Bytes wie empfangen\n"
           "  collect Ordner [--clear]\n"
           "                         Datensätze in eine neue Datei <ID>-JJJJMMTT-hhmmss.txt\n"
           "                         im Ordner sichern, Zeile in Ordner/collect.log; mit\n"
           "                         --clear danach den Datenbuffer löschen\n"
           "  clock [--set now|TTMMJJhhmmss] [--max-drift Sekunden]\n"
           "                         Datum/Zeit lesen oder setzen\n"
           "  parameters             Parameter lesen\n"
           "  set id NN              ID Nummer setzen (2 Ziffern)\n"
           "  set mode N             Betriebsart setzen (0-1, Orvane SX 0-3)\n"
           "  set number-format N    0 hexadezimal, 1 dezimal\n"
           "  set time-format N      0 mit, 1 ohne Zehntelsekunden\n"
           "  set timing V|Z|H N     Verzögerungs-, Öffnungs-, Haltezeit in Sekunden, 0-999\n"
           "                         (Orvane SX)\n"
           "  reset --yes            Parameter und Schlüssel zurücksetzen (Orvane SX)\n"
           "  keys [--write Datei [--yes]]\n"
           "                         Schlüsselnummern lesen oder schreiben (Orvane SX);\n"
           "                         eine Datei ohne Schlüssel löscht alle, nur mit --yes\n"
           "  memory-test --yes      Speichertest\n"
           "  clear --yes            Datenbuffer löschen\n");
    const QString status =
        tr("Exit-Status:\n"
           "  0  erledigt\n"
           "  2  falscher Aufruf oder ein Wert, den der Dialog ablehnt\n"
           "  3  keine Verbindung zum Leser (der Grund steht auf der Standardfehlerausgabe)\n"
           "  4  der Leser hat nicht geantwortet oder abgelehnt\n"
           "  5  eine Datei konnte nicht geschrieben werden, oder ein anderes collect\n"
           "     arbeitet im selben Ordner\n"
           "  6  unterbrochen durch SIGTERM, SIGINT oder SIGHUP; collect hat nichts\n"
           "     gelöscht\n");
    QString text = parserHelp;
    const qsizetype options = text.indexOf(QRegularExpression(QStringLiteral("\n\\S+:\n")));
    if (options >= 0) {
        text.insert(options + 1, commands + QLatin1Char('\n'));
    } else {
        text += QLatin1Char('\n') + commands;
    }
    if (!text.endsWith(QLatin1Char('\n'))) {
        text += QLatin1Char('\n');
    }
    return text + QLatin1Char('\n') + status;
}
