#include "common/Strings.h"

#include <QCoreApplication>

#include <map>

#include "common/ResourceIds.h"

namespace {

// The German texts; the English catalogue translates them in context "Strings".
const std::map<unsigned, const char*>& Table() {
    static const std::map<unsigned, const char*> table = {
        {Res::IDS_READ_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler beim Lesen der Daten")},
        {Res::IDS_CLOCK_READ_ERROR,
         QT_TRANSLATE_NOOP("Strings", "Datum/Zeit kann nicht gelesen werden")},
        {Res::IDS_CLOCK_SET_OK, QT_TRANSLATE_NOOP("Strings", "Datum/Zeit erfolgreich gesetzt")},
        {Res::IDS_CLOCK_SET_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler bei Datum/Zeit setzen")},
        {Res::IDS_ASK_CLEAR_BUFFER,
         QT_TRANSLATE_NOOP("Strings",
                           "Datenbuffer wirklich löschen?\nAlle Datensätze gehen verloren!")},
        {Res::IDS_CLEAR_BUFFER_ERROR,
         QT_TRANSLATE_NOOP("Strings", "Fehler beim Löschen des Datenbuffers")},
        {Res::IDS_FORMAT_OK, QT_TRANSLATE_NOOP("Strings", "Format erfolgreich gesetzt")},
        {Res::IDS_FORMAT_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler beim Setzen des  Formates")},
        {Res::IDS_ID_OK, QT_TRANSLATE_NOOP("Strings", "ID Nummer erfolgreich gesetzt")},
        {Res::IDS_ID_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler beim Setzen der ID Nummer")},
        {Res::IDS_MODE_OK, QT_TRANSLATE_NOOP("Strings", "Betriebsart erfolgreich gesetzt")},
        {Res::IDS_MODE_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler beim Setzen der Betriebsart")},
        {Res::IDS_PARAMETERS_READ_ERROR,
         QT_TRANSLATE_NOOP("Strings", "Fehler beim Lesen der Parameter")},
        {Res::IDS_ID_TWO_DIGITS,
         QT_TRANSLATE_NOOP("Strings", "Es müssen genau 2 Ziffern eingegeben werden!")},
        {Res::IDS_ASK_MEMORY_TEST,
         QT_TRANSLATE_NOOP("Strings",
                           "Speichertest durchführen?\nAlle Datensätze werden überschrieben!")},
        {Res::IDS_MEMORY_TEST_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler bei Speichertest")},
        {Res::IDS_MEMORY_TEST_OK,
         QT_TRANSLATE_NOOP("Strings", "Speichertest erfolgreich durchgeführt")},
        {Res::IDS_LANGUAGE_LOAD_ERROR,
         QT_TRANSLATE_NOOP("Strings",
                           "Die Sprachinformationen konnten nicht geladen werden!\r\n"
                           "Standardsprache Deutsch wird geladen!")},
        // %1: the manual's full path.
        {Res::IDS_HELP_NO_VIEWER,
         QT_TRANSLATE_NOOP("Strings",
                           "Zur Ausführung der Hilfe muss ein PDF-Betrachter installiert sein.\n"
                           "Übliche PDF-Betrachter sind zum Beispiel Evince oder Okular; Sie "
                           "können sie mit der Paketverwaltung Ihrer Distribution installieren.\n"
                           "Das Handbuch liegt unter\n%1\n")},
        {Res::IDS_HELP_NO_RESOURCES,
         QT_TRANSLATE_NOOP("Strings", "Nicht genügend Systemresourcen vorhanden!\n")},
        {Res::IDS_HELP_UNKNOWN_ERROR, QT_TRANSLATE_NOOP("Strings", "Unbekannter Fehler %d")},
        {Res::IDS_WRITE_OK, QT_TRANSLATE_NOOP("Strings", "Daten erfolgreich geschrieben")},
        {Res::IDS_WRITE_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler beim Schreiben")},
        {Res::IDS_ASK_ERASE_ALL_KEYS,
         QT_TRANSLATE_NOOP("Strings", "Alle Schlüssel im Leser löschen?")},
        {Res::IDS_ASK_RESET, QT_TRANSLATE_NOOP("Strings",
                                               "Parameter und Schlüssel wirklich zurücksetzen?\n"
                                               "Alle Schlüssel im Leser werden gelöscht!")},
        {Res::IDS_ASK_TEACH_IN_OFF, QT_TRANSLATE_NOOP("Strings", "Teach IN ausschalten?")},
        {Res::IDS_TEACH_IN_ON, QT_TRANSLATE_NOOP("Strings", "Teach IN ist eingeschaltet")},
        {Res::IDS_NO_READER_ANSWERS, QT_TRANSLATE_NOOP("Strings", "Kein Leser antwortet an %1")},
        {Res::IDS_READER_PAUSED,
         QT_TRANSLATE_NOOP("Strings",
                           "Der Leser pausierte länger als der Timeout (%1 ms): Timeout unter "
                           "„Schnittstelle wählen“ erhöhen")},
        {Res::IDS_NOT_A_KEY,
         QT_TRANSLATE_NOOP("Strings",
                           "Zeile %1 ist keine Schlüsselnummer: „%2“. Jede Zeile hält 1 bis 10 "
                           "Ziffern 0-9 und A-F. Es wurde nichts gesendet.")},
        {Res::IDS_LINE_ERRORS,
         QT_TRANSLATE_NOOP("Strings",
                           "Leitungsfehler beim Lesen (%1): Einzelne Zeichen im Protokoll können "
                           "fehlen oder falsch sein.")},
        {Res::IDS_LINE_ERROR_OVERRUN, QT_TRANSLATE_NOOP("Strings", "Überlauf")},
        {Res::IDS_LINE_ERROR_FRAMING, QT_TRANSLATE_NOOP("Strings", "Rahmenfehler")},
        {Res::IDS_LINE_ERROR_PARITY, QT_TRANSLATE_NOOP("Strings", "Paritätsfehler")},
        {Res::IDS_TEACH_IN_MAYBE_ON,
         QT_TRANSLATE_NOOP("Strings", "Teach IN an %1 ist vielleicht noch eingeschaltet.")},
        {Res::IDS_NET_NO_FREE_NUMBER,
         QT_TRANSLATE_NOOP("Strings",
                           "Der Netzwerk-Leser kann nicht eingetragen werden: Alle Nummern von "
                           "COM3 bis COM255 sind vergeben.")},
        {Res::IDS_NET_NOT_STORED,
         QT_TRANSLATE_NOOP("Strings",
                           "Der Netzwerk-Leser kann nicht als COM%1 eingetragen werden: Die "
                           "Einstellungen lassen sich nicht schreiben.")},
        {Res::IDS_PORT_PANE_SIZE, "USB:12345678"},
        {Res::IDS_APP_TITLE, "Orvane"},
        {Res::IDS_APP_TITLE_SX, "Orvane SX"},
        {Res::IDS_IDLE_MESSAGE, QT_TRANSLATE_NOOP("Strings", "Bereit")},
        {Res::IDP_PARSE_INT, QT_TRANSLATE_NOOP("Strings", "Geben Sie bitte eine ganze Zahl ein.")},
        {Res::IDP_PARSE_INT_RANGE,
         QT_TRANSLATE_NOOP("Strings", "Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.")},
        {Res::IDP_PARSE_STRING_SIZE,
         QT_TRANSLATE_NOOP("Strings", "Geben Sie bitte nicht mehr als %1 Zeichen ein.")},
        {Res::IDP_PARSE_UINT,
         QT_TRANSLATE_NOOP("Strings", "Geben Sie bitte eine positive ganze Zahl ein.")},
        {Res::IDP_ASK_TO_SAVE, QT_TRANSLATE_NOOP("Strings", "Änderungen in %1 speichern?")},
        {Res::IDP_FAILED_TO_SAVE_DOC,
         QT_TRANSLATE_NOOP("Strings", "Fehler beim Speichern des Dokuments.")},
        {Res::IDP_FAILED_TO_OPEN_DOC,
         QT_TRANSLATE_NOOP("Strings", "Fehler beim Öffnen des Dokuments.")},
        {Res::IDP_FAILED_TO_CREATE_DOC,
         QT_TRANSLATE_NOOP("Strings", "Fehler beim Erzeugen eines leeren Dokuments.")},
        {Res::IDS_UNTITLED, QT_TRANSLATE_NOOP("Strings", "Unbenannt")},

        // Status-line prompts of the commands; the text after the line break is the tool tip.
        {Res::ID_READ_RECORDS,
         QT_TRANSLATE_NOOP("Strings", "Lesen der Daten aus dem Datenbuffer\nLese Datenbuffer (L)")},
        {Res::ID_READ_CLOCK,
         QT_TRANSLATE_NOOP("Strings", "Lesen von Datum und Uhrzeit\nLese Datum + Uhrzeit (R)")},
        {Res::ID_SET_CLOCK,
         QT_TRANSLATE_NOOP("Strings", "Setzen von Datum und Uhrzeit\nSetze Datum + Uhrzeit (S)")},
        {Res::ID_CLEAR_BUFFER,
         QT_TRANSLATE_NOOP("Strings", "Datenbuffer löschen\nDatenbuffer löschen (C)")},
        {Res::ID_SET_ID, QT_TRANSLATE_NOOP("Strings", "Setzen der ID Nummer\nSetze ID (I)")},
        {Res::ID_SET_MODE, QT_TRANSLATE_NOOP("Strings",
                                             "Setzen der Betriebsart Transparent oder Standard\n"
                                             "Transparent/Standard (M)")},
        {Res::ID_SET_FORMAT,
         QT_TRANSLATE_NOOP("Strings", "Setzen des Datenformats Dezimal / HEX\n Dezimal/HEX (F)")},
        {Res::ID_SET_TIME_FORMAT,
         QT_TRANSLATE_NOOP("Strings",
                           "Setzen des Zeitformats mit oder ohne Zehntelsekunde\n Zeitformat (U)")},
        {Res::ID_SET_PARAMETERS,
         QT_TRANSLATE_NOOP("Strings",
                           "Setzen der Parameter Verzögerungszeit, Öffnungszeit, Haltezeit\n"
                           "Zeiten setzen")},
        {Res::ID_READ_PARAMETERS,
         QT_TRANSLATE_NOOP("Strings", "Lesen der Parameter\nParameter lesen (P)")},
        {Res::ID_KEY_NUMBERS,
         QT_TRANSLATE_NOOP("Strings", "Schlüsselnummern verwalten\nSchlüsselnummern")},
        {Res::ID_MEMORY_TEST, QT_TRANSLATE_NOOP("Strings", "Speicher prüfen\nSpeicher prüfen")},
        {Res::ID_SELECT_INTERFACE,
         QT_TRANSLATE_NOOP("Strings", "Schnittstelle auswählen\nSchnittstelle auswählen")},
        {Res::ID_LANGUAGE_GERMAN,
         QT_TRANSLATE_NOOP("Strings", "Stellt die Sprache auf deutsch\ndeutsch")},
        {Res::ID_LANGUAGE_ENGLISH,
         QT_TRANSLATE_NOOP("Strings", "Stellt die Sprache auf englisch\nenglisch")},
        {Res::ID_FILE_NEW,
         QT_TRANSLATE_NOOP("Strings", "Beginnt ein neues, leeres Protokoll\nNeu")},
        {Res::ID_FILE_OPEN,
         QT_TRANSLATE_NOOP("Strings", "Öffnet eine gespeicherte Textdatei\nÖffnen")},
        {Res::ID_FILE_SAVE,
         QT_TRANSLATE_NOOP("Strings", "Speichert das Protokoll in seine Datei\nSpeichern")},
        {Res::ID_FILE_SAVE_AS,
         QT_TRANSLATE_NOOP("Strings",
                           "Speichert das Protokoll unter einem neuen Namen\nSpeichern unter")},
        {Res::ID_FILE_PRINT_SETUP,
         QT_TRANSLATE_NOOP("Strings",
                           "Wählt den Drucker und seine Einstellungen\nDruckereinrichtung")},
        {Res::ID_FILE_PRINT, QT_TRANSLATE_NOOP("Strings", "Druckt das Protokoll\nDrucken")},
        {Res::ID_FILE_PRINT_PREVIEW,
         QT_TRANSLATE_NOOP("Strings", "Zeigt die Druckseiten des Protokolls an\nSeitenansicht")},
        {Res::ID_APP_ABOUT,
         QT_TRANSLATE_NOOP("Strings", "Zeigt Version und Hersteller des Programms an\nInfo")},
        {Res::ID_APP_EXIT,
         QT_TRANSLATE_NOOP("Strings",
                           "Beendet das Programm und fragt, ob das Protokoll gespeichert werden "
                           "soll\nBeenden")},
        {Res::ID_HELP, QT_TRANSLATE_NOOP("Strings", "Öffnet das Handbuch\nHilfe")},
    };
    return table;
}

}  // namespace

QString LoadString(unsigned id) {
    const auto& table = Table();
    auto it = table.find(id);
    if (it == table.end()) {
        return {};
    }
    return QCoreApplication::translate("Strings", it->second);
}
