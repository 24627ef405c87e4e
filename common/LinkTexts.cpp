#include "common/LinkTexts.h"

#include <QCoreApplication>
#include <QStringList>

#include "link/NetAddress.h"

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("LinkTexts", text);
}

// Device strings (sysfs, the name service) and process names are whatever
// their makers chose: control and format characters would steer a terminal
// or turn the text around, so each shows as a replacement character.
QString Q(const std::string& text) {
    QString plain = QString::fromStdString(text);
    for (QChar& c : plain) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
            c = QChar::ReplacementCharacter;
        }
    }
    return plain;
}

QString ModeText(unsigned mode) {
    return QStringLiteral("%1").arg(mode & 0777, 3, 8, QLatin1Char('0'));
}

QString HolderLine(const CDeviceHolder& holder) {
    const char* text = holder.locks ? QT_TRANSLATE_NOOP("LinkTexts", "belegt von %1 (PID %2)")
                                    : QT_TRANSLATE_NOOP("LinkTexts", "geöffnet von %1 (PID %2)");
    return Tr(text).arg(Q(holder.name), QString::number(holder.pid));
}

// "COM3 (/dev/ttyUSB0)", "COM3", or "USB: A1B2C3".
QString Subject(const CLinkFailure& failure) {
    if (failure.usb) {
        return QStringLiteral("USB: ") + Q(failure.port);
    }
    return failure.device.empty()
               ? Q(failure.port)
               : QStringLiteral("%1 (%2)").arg(Q(failure.port), Q(failure.device));
}

QString PermissionText(const CLinkFailure& failure) {
    const QString subject = Subject(failure);
    if (failure.group.empty()) {
        return Tr(QT_TRANSLATE_NOOP(
                      "LinkTexts",
                      "Kein Zugriff auf %1: Die Rechte des Geräts lassen es nicht zu."))
            .arg(subject);
    }
    if (!failure.groupGrantsAccess) {
        // Joining the group would not help, or would hand out root's rights.
        return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                    "Kein Zugriff auf %1: Das Gerät (%2, Rechte %3) gibt keiner "
                                    "Benutzergruppe Lese- und Schreibrecht. Abhilfe: eine "
                                    "udev-Regel, die ihm eine Gruppe wie „dialout“ und die Rechte "
                                    "660 gibt (Handbuch, Abschnitt 3.4)."))
            .arg(subject, Q(failure.owner + ":" + failure.group), ModeText(failure.mode));
    }
    const char* text =
        !failure.userInGroup
            ? QT_TRANSLATE_NOOP("LinkTexts",
                                "Kein Zugriff auf %1: Das Gerät gehört der Gruppe „%2“, und der "
                                "Benutzer %3 ist nicht in dieser Gruppe. Abhilfe: sudo usermod "
                                "-aG %2 %3, danach neu anmelden.")
        : !failure.sessionInGroup
            ? QT_TRANSLATE_NOOP("LinkTexts",
                                "Kein Zugriff auf %1: Der Benutzer %3 ist in der Gruppe „%2“, "
                                "diese Sitzung aber noch nicht. Bitte ab- und wieder anmelden.")
            : QT_TRANSLATE_NOOP("LinkTexts",
                                "Kein Zugriff auf %1, obwohl der Benutzer %3 in der Gruppe „%2“ "
                                "ist: Die Rechte des Geräts verbieten es.");
    return Tr(text).arg(subject, Q(failure.group), Q(failure.userName));
}

// The name of a line setting that a network server was asked for.
QString SettingName(NetSetting setting) {
    switch (setting) {
        case NetSetting::BaudRate:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts", "Baudrate"));
        case NetSetting::DataSize:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts", "Datenbits"));
        case NetSetting::Parity:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts", "Parität"));
        case NetSetting::StopSize:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts", "Stoppbits"));
        case NetSetting::FlowControl:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts", "Flusskontrolle"));
        case NetSetting::None:
        case NetSetting::ComPortOption:
            break;
    }
    return {};
}

// A value of a setting, from the code the server's protocol gives it.
QString SettingValue(NetSetting setting, uint32_t code) {
    static const char* const kParities[] = {
        QT_TRANSLATE_NOOP("LinkTexts", "keine"), QT_TRANSLATE_NOOP("LinkTexts", "ungerade"),
        QT_TRANSLATE_NOOP("LinkTexts", "gerade"), QT_TRANSLATE_NOOP("LinkTexts", "Mark"),
        QT_TRANSLATE_NOOP("LinkTexts", "Space")};
    static const char* const kFlows[] = {QT_TRANSLATE_NOOP("LinkTexts", "keine"), "XON/XOFF",
                                         "RTS/CTS"};
    if (setting == NetSetting::Parity && code >= 1 && code <= 5) {
        return Tr(kParities[code - 1]);
    }
    if (setting == NetSetting::StopSize && code == 3) {
        return Tr(QT_TRANSLATE_NOOP("LinkTexts", "1,5"));
    }
    if (setting == NetSetting::FlowControl && code >= 1 && code <= 3) {
        return Tr(kFlows[code - 1]);
    }
    return QString::number(code);
}

// A network server did not take a line setting, or the COM port option at all.
QString RefusalText(const CLinkFailure& failure, const QString& subject) {
    if (failure.setting == NetSetting::ComPortOption) {
        return Tr(failure.unanswered
                      ? QT_TRANSLATE_NOOP("LinkTexts",
                                          "%1: Der Server antwortet nicht auf die Steuerung der "
                                          "Schnittstelle nach RFC 2217. Ist der Port als reiner "
                                          "TCP-Port eingerichtet, socket:// statt rfc2217:// "
                                          "verwenden.")
                      : QT_TRANSLATE_NOOP("LinkTexts",
                                          "%1: Der Server lehnt die Steuerung der Schnittstelle "
                                          "nach RFC 2217 ab. Ist der Port als reiner TCP-Port "
                                          "eingerichtet, socket:// statt rfc2217:// verwenden."))
            .arg(subject);
    }
    const QString name = SettingName(failure.setting);
    const QString wanted = SettingValue(failure.setting, failure.requested);
    if (failure.unanswered) {
        return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                    "%1: Der Server antwortet nicht auf die Einstellung %2 = %3."))
            .arg(subject, name, wanted);
    }
    return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                "%1: Der Server nimmt die Einstellung %2 = %3 nicht an (er "
                                "meldet %4)."))
        .arg(subject, name, wanted, SettingValue(failure.setting, failure.held));
}

// Why a port on the network did not open.
QString NetworkText(const CLinkFailure& failure, const QString& subject) {
    CNetAddress address;
    const bool parsed =
        CNetAddress::Parse(failure.device.empty() ? failure.port : failure.device, address);
    const QString host = parsed ? Q(address.host) : QString();
    const QString port = parsed ? QString::number(address.port) : QString();
    switch (failure.kind) {
        case LinkFailureKind::BadAddress:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1 ist keine gültige Netzwerkadresse (erwartet: "
                                        "rfc2217://RECHNER:PORT oder socket://RECHNER:PORT, eine "
                                        "IPv6-Adresse in eckigen Klammern)."))
                .arg(subject);
        case LinkFailureKind::NameNotResolved:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1: Der Rechnername „%2“ lässt sich nicht auflösen "
                                        "(unbekannt, oder der Namensdienst antwortet nicht)."))
                .arg(subject, host);
        case LinkFailureKind::ConnectionRefused:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1: Der Rechner %2 lehnt die Verbindung ab; an Port %3 "
                                        "läuft kein Dienst (Geräteserver oder ser2net nicht "
                                        "gestartet, falscher Port)."))
                .arg(subject, host, port);
        case LinkFailureKind::NoAnswer:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1: Der Rechner %2 antwortet nicht (ausgeschaltet, nicht "
                                        "erreichbar oder durch eine Firewall gesperrt)."))
                .arg(subject, host);
        case LinkFailureKind::ServerBusy:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1 ist belegt: Der Server bedient schon einen anderen "
                                        "Client und hat die Verbindung abgewiesen („%2“)."))
                .arg(subject, Q(failure.detail));
        default:
            break;
    }
    if (failure.detail.empty()) {
        return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                    "%1: Der Server hat die Verbindung sofort wieder beendet."))
            .arg(subject);
    }
    return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                "%1: Der Server hat die Verbindung sofort wieder beendet („%2“)."))
        .arg(subject, Q(failure.detail));
}

// What the address of a network entry says, without connecting.
QStringList NetworkFacts(const std::string& written) {
    QStringList lines{Tr(QT_TRANSLATE_NOOP("LinkTexts", "Netzwerk-Leser: %1")).arg(Q(written))};
    CNetAddress address;
    if (!CNetAddress::Parse(written, address)) {
        lines << Tr(QT_TRANSLATE_NOOP("LinkTexts", "keine gültige Netzwerkadresse"));
        return lines;
    }
    lines << Tr(QT_TRANSLATE_NOOP("LinkTexts", "Rechner: %1, Port %2"))
                 .arg(Q(address.host), QString::number(address.port));
    lines << (address.kind == CNetAddress::Kind::Rfc2217
                  ? Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                         "Art: RFC 2217 (Orvane stellt Baudrate und Format ein)"))
                  : Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                         "Art: TCP roh (Baudrate und Format stellt der Server "
                                         "ein)")));
    return lines;
}

}  // namespace

namespace LinkTexts {

QString Failure(const CLinkFailure& failure) {
    const QString subject = Subject(failure);
    switch (failure.kind) {
        case LinkFailureKind::None:
            return {};
        case LinkFailureKind::NotPresent:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1 ist nicht vorhanden (nicht eingesteckt oder keinem "
                                        "Gerät zugeordnet)."))
                .arg(subject);
        case LinkFailureKind::PermissionDenied:
            return PermissionText(failure);
        case LinkFailureKind::InUse:
            if (failure.holderPid != 0 && !failure.holderLocks) {
                return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                            "%1 ist von einem anderen Programm belegt; geöffnet "
                                            "hat es %2 (PID %3)."))
                    .arg(subject, Q(failure.holderName), QString::number(failure.holderPid));
            }
            if (failure.holderPid != 0) {
                return Tr(QT_TRANSLATE_NOOP(
                              "LinkTexts", "%1 ist von einem anderen Programm belegt: %2 (PID %3)"))
                    .arg(subject, Q(failure.holderName), QString::number(failure.holderPid));
            }
            return Tr(QT_TRANSLATE_NOOP("LinkTexts", "%1 ist von einem anderen Programm belegt."))
                .arg(subject);
        case LinkFailureKind::NotSerialPort:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts", "%1 ist keine serielle Schnittstelle."))
                .arg(subject);
        case LinkFailureKind::UsbLibraryMissing:
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1 kann nicht geöffnet werden: Die FTDI-Bibliothek "
                                        "libftd2xx.so fehlt (in den Programmordner oder den "
                                        "Bibliothekspfad legen)."))
                .arg(subject);
        case LinkFailureKind::ConfigurationRefused:
            if (failure.setting != NetSetting::None) {
                return RefusalText(failure, subject);
            }
            return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                        "%1 nimmt die Einstellungen nicht an (%2: %3)."))
                .arg(subject, Q(failure.step), qt_error_string(failure.error));
        case LinkFailureKind::Other:
            break;
        case LinkFailureKind::BadAddress:
        case LinkFailureKind::NameNotResolved:
        case LinkFailureKind::ConnectionRefused:
        case LinkFailureKind::NoAnswer:
        case LinkFailureKind::ServerBusy:
        case LinkFailureKind::ServerClosed:
            return NetworkText(failure, subject);
    }
    return Tr(QT_TRANSLATE_NOOP("LinkTexts", "%1 kann nicht geöffnet werden: %2"))
        .arg(subject, qt_error_string(failure.error));
}

QString Facts(const CPortFacts& facts) {
    QStringList lines;
    if (!facts.devicePath.empty()) {
        lines << Tr(QT_TRANSLATE_NOOP("LinkTexts", "Gerät: %1")).arg(Q(facts.devicePath));
    }
    if (!facts.byId.empty()) {
        lines << QStringLiteral("by-id: ") + Q(facts.byId);
    }
    const CUsbIdentity& usb = facts.usb;
    QString maker = Q(usb.manufacturer + " " + usb.product).trimmed();
    if (!usb.vendorId.empty()) {
        maker += QStringLiteral(" (%1:%2)").arg(Q(usb.vendorId), Q(usb.productId));
    }
    if (!maker.isEmpty()) {
        lines << QStringLiteral("USB: ") + maker.trimmed();
    }
    if (!usb.serialNumber.empty()) {
        lines << Tr(QT_TRANSLATE_NOOP("LinkTexts", "Seriennummer: %1")).arg(Q(usb.serialNumber));
    }
    if (!facts.driver.empty()) {
        lines << Tr(QT_TRANSLATE_NOOP("LinkTexts", "Treiber: %1")).arg(Q(facts.driver));
    }
    if (facts.entry.rfind("USB: ", 0) == 0) {
        lines << Tr(QT_TRANSLATE_NOOP("LinkTexts", "FTDI-Adapter über die Bibliothek libftd2xx"));
    }
    if (!facts.network.empty()) {
        lines << NetworkFacts(facts.network);
    }
    if (facts.holder.pid != 0) {
        lines << HolderLine(facts.holder);
    }
    for (const CDeviceHolder& other : facts.others) {
        lines << HolderLine(other);
    }
    return lines.join(QLatin1Char('\n'));
}

QString PaneLost(const QString& port) {
    return Tr(QT_TRANSLATE_NOOP("LinkTexts", "%1 getrennt")).arg(port);
}

QString Lost(const QString& port, bool cutShort) {
    if (cutShort) {
        return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                    "Verbindung zu %1 getrennt: Das Lesen wurde abgebrochen, das "
                                    "Protokoll enthält alles bis dahin Empfangene."))
            .arg(port);
    }
    return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                "Verbindung zu %1 getrennt. Orvane verbindet wieder, sobald das "
                                "Gerät zurück ist."))
        .arg(port);
}

QString OtherDevice(const QString& port) {
    return Tr(QT_TRANSLATE_NOOP("LinkTexts",
                                "An %1 ist jetzt ein anderes Gerät. Orvane verbindet nicht von "
                                "selbst; wählen Sie die Schnittstelle, um es zu benutzen."))
        .arg(port);
}

QString Restored(const QString& port) {
    return Tr(QT_TRANSLATE_NOOP("LinkTexts", "Verbindung zu %1 wiederhergestellt.")).arg(port);
}

}  // namespace LinkTexts
