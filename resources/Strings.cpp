#include "resources/Strings.h"

#include <QCoreApplication>

#include <map>

#include "resources/ResourceIds.h"

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
        {Res::IDS_HELP_NO_VIEWER,
         QT_TRANSLATE_NOOP("Strings",
                           "Zur Ausführung der Hilfe muss der Adobe Acrobat Reader installiert "
                           "sein.\nSie können den Adobe Acrobat Reader von\n"
                           "https://get.adobe.com/de/reader/\noder\n"
                           "https://www.adobe.com/de/acrobat/pdf-reader.html\nladen.\n")},
        {Res::IDS_HELP_NO_RESOURCES,
         QT_TRANSLATE_NOOP("Strings", "Nicht genügend Systemresourcen vorhanden!\n")},
        {Res::IDS_HELP_UNKNOWN_ERROR, QT_TRANSLATE_NOOP("Strings", "Unbekannter Fehler %d")},
        {Res::IDS_WRITE_OK, QT_TRANSLATE_NOOP("Strings", "Daten erfolgreich geschrieben")},
        {Res::IDS_WRITE_ERROR, QT_TRANSLATE_NOOP("Strings", "Fehler beim Schreiben")},
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
