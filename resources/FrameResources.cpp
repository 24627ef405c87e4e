#include "resources/FrameResources.h"

#include <QCoreApplication>

#include "common/ResourceIds.h"

namespace Res {

const std::vector<MenuPopup>& MainMenu() {
    static const std::vector<MenuPopup> menu = {
        {QT_TRANSLATE_NOOP("Menu", "&Datei"),
         {{ID_FILE_SAVE, QT_TRANSLATE_NOOP("Menu", "S&peichern\tStrg+S")},
          {ID_FILE_SAVE_AS, QT_TRANSLATE_NOOP("Menu", "Speichern &unter...")},
          {0, nullptr},
          {ID_FILE_PRINT, QT_TRANSLATE_NOOP("Menu", "&Drucken...\tStrg+P")},
          {ID_FILE_PRINT_PREVIEW, QT_TRANSLATE_NOOP("Menu", "Sei&tenansicht")},
          {ID_FILE_PRINT_SETUP, QT_TRANSLATE_NOOP("Menu", "Drucker&einrichtung...")},
          {0, nullptr},
          {ID_APP_EXIT, QT_TRANSLATE_NOOP("Menu", "&Beenden")}}},
        {QT_TRANSLATE_NOOP("Menu", "Bearbeiten"),
         {{ID_READ_RECORDS, QT_TRANSLATE_NOOP("Menu", "Lese Datensätze")},
          {ID_READ_CLOCK, QT_TRANSLATE_NOOP("Menu", "Lese Datum/Zeit")},
          {ID_SET_CLOCK, QT_TRANSLATE_NOOP("Menu", "Setze Datum/Zeit")},
          {0, nullptr},
          {ID_CLEAR_BUFFER, QT_TRANSLATE_NOOP("Menu", "Buffer löschen")}}},
        {QT_TRANSLATE_NOOP("Menu", "Parameter"),
         {{ID_SET_ID, QT_TRANSLATE_NOOP("Menu", "Setze ID Nummer")},
          {ID_SET_MODE, QT_TRANSLATE_NOOP("Menu", "Setze Betriebsart")},
          {ID_SET_FORMAT, QT_TRANSLATE_NOOP("Menu", "Setze Format")},
          {ID_SET_TIME_FORMAT, QT_TRANSLATE_NOOP("Menu", "Setze Zeitformat")},
          {ID_SET_PARAMETERS, QT_TRANSLATE_NOOP("Menu", "Setze Parameter")},
          {ID_READ_PARAMETERS, QT_TRANSLATE_NOOP("Menu", "Lese Parameter")},
          {ID_KEY_NUMBERS, QT_TRANSLATE_NOOP("Menu", "Schlüsselnummern")},
          {0, nullptr},
          {ID_MEMORY_TEST, QT_TRANSLATE_NOOP("Menu", "Speichertest")}}},
        {QT_TRANSLATE_NOOP("Menu", "Einstellungen"),
         {{ID_SELECT_INTERFACE, QT_TRANSLATE_NOOP("Menu", "Schnittstelle wählen")},
          {0, nullptr},
          {ID_LANGUAGE_GERMAN, QT_TRANSLATE_NOOP("Menu", "deutsch")},
          {ID_LANGUAGE_ENGLISH, QT_TRANSLATE_NOOP("Menu", "englisch")}}},
        {QT_TRANSLATE_NOOP("Menu", "&?"),
         {{ID_HELP, QT_TRANSLATE_NOOP("Menu", "&Handbuch\tF1")},
          {0, nullptr},
          {ID_APP_ABOUT, QT_TRANSLATE_NOOP("Menu", "Inf&o über Orvane...")}}},
    };
    return menu;
}

const std::vector<Accelerator>& MainAccelerators() {
    // Plain letters are accelerators too: without Shift, Ctrl or Alt they start
    // their command instead of typing into the transcript.
    static const std::vector<Accelerator> keys = {
        {QKeySequence(Qt::Key_L), ID_READ_RECORDS},
        {QKeySequence(Qt::Key_R), ID_READ_CLOCK},
        {QKeySequence(Qt::Key_S), ID_SET_CLOCK},
        {QKeySequence(Qt::Key_C), ID_CLEAR_BUFFER},
        {QKeySequence(Qt::Key_I), ID_SET_ID},
        {QKeySequence(Qt::Key_M), ID_SET_MODE},
        {QKeySequence(Qt::Key_F), ID_SET_FORMAT},
        {QKeySequence(Qt::Key_U), ID_SET_TIME_FORMAT},
        {QKeySequence(Qt::Key_P), ID_READ_PARAMETERS},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
    };
    return keys;
}

const std::vector<unsigned>& MainToolBar() {
    static const std::vector<unsigned> items = {
        ID_READ_RECORDS,
        ID_READ_CLOCK,
        ID_SET_CLOCK,
        ID_KEY_NUMBERS,
        ID_CLEAR_BUFFER,
        0,
        ID_SET_ID,
        ID_SET_MODE,
        0,
        ID_SET_FORMAT,
        ID_SET_TIME_FORMAT,
        ID_SET_PARAMETERS,
        ID_READ_PARAMETERS,
        0,
        ID_SELECT_INTERFACE,
        0,
        ID_APP_EXIT,
        0,
        ID_APP_ABOUT,
    };
    return items;
}

QString ToolBarIcon(unsigned id) {
    return QStringLiteral(":/toolbar/%1.svg").arg(id);
}

QString ApplicationIcon() {
    return QStringLiteral(":/application/Orvane.svg");
}

}  // namespace Res
