<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>CInterfaceDlg</name>
    <message>
        <source>Schnittstelle</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Timeout in [ms]</source>
        <translation>Timeout in [ms]</translation>
    </message>
    <message>
        <source>Schnittstelle auswählen</source>
        <translation>Select interface</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>Baud rate</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Symbolleiste</source>
        <translation>Toolbar</translation>
    </message>
</context>
<context>
    <name>COrvaneApp</name>
    <message>
        <source>Alle Dateien (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>COrvaneCommandLine</name>
    <message>
        <source>Zeigt diese Hilfe an.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Zeigt die Version an.</source>
        <translation>Shows the version.</translation>
    </message>
    <message>
        <source>Servicewerkzeug für den Orvane-Leser, ein RFID-Terminal für Zutrittskontrolle und Zeiterfassung an einer seriellen Schnittstelle. Ohne Datei beginnt es mit einer leeren Mitschrift.</source>
        <translation>Service tool for the Orvane reader, an RFID terminal for access control and time recording on a serial line. Without a file it starts with an empty transcript.</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>file</translation>
    </message>
    <message>
        <source>Textdatei, die als Mitschrift geöffnet wird.</source>
        <translation>Text file to open as the transcript.</translation>
    </message>
    <message>
        <source>[Datei]</source>
        <translation>[file]</translation>
    </message>
    <message>
        <source>Zu viele Argumente: es kann nur eine Datei geöffnet werden.</source>
        <translation>Too many arguments: only one file can be opened.</translation>
    </message>
    <message>
        <source>„%1 --help“ liefert weitere Informationen.</source>
        <translation>Try &apos;%1 --help&apos; for more information.</translation>
    </message>
    <message>
        <source>Englischer Katalog</source>
        <translation>English catalogue</translation>
    </message>
    <message>
        <source>Handbuch</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>nicht gefunden</source>
        <translation>not found</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>S&amp;peichern	Strg+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>Speichern &amp;unter...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>&amp;Drucken...	Strg+P</source>
        <translation>&amp;Print...	Ctrl+P</translation>
    </message>
    <message>
        <source>Sei&amp;tenansicht</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>Drucker&amp;einrichtung...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Bearbeiten</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Lese Datensätze</source>
        <translation>Read records</translation>
    </message>
    <message>
        <source>Lese Datum/Zeit</source>
        <translation>Read date/time</translation>
    </message>
    <message>
        <source>Setze Datum/Zeit</source>
        <translation>Set date/time</translation>
    </message>
    <message>
        <source>Buffer löschen</source>
        <translation>Clear buffer</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Setze ID Nummer</source>
        <translation>Set ID number</translation>
    </message>
    <message>
        <source>Setze Betriebsart</source>
        <translation>Set operating mode</translation>
    </message>
    <message>
        <source>Setze Format</source>
        <translation>Set format</translation>
    </message>
    <message>
        <source>Setze Zeitformat</source>
        <translation>Set time format</translation>
    </message>
    <message>
        <source>Setze Parameter</source>
        <translation>Set parameters</translation>
    </message>
    <message>
        <source>Lese Parameter</source>
        <translation>Read parameters</translation>
    </message>
    <message>
        <source>Schlüsselnummern</source>
        <translation>Key numbers</translation>
    </message>
    <message>
        <source>Speichertest</source>
        <translation>Memory test</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Schnittstelle wählen</source>
        <translation>Select interface</translation>
    </message>
    <message>
        <source>deutsch</source>
        <translation>German</translation>
    </message>
    <message>
        <source>englisch</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>&amp;Handbuch	F1</source>
        <translation>&amp;Manual	F1</translation>
    </message>
    <message>
        <source>Inf&amp;o über Orvane...</source>
        <translation>&amp;About Orvane...</translation>
    </message>
</context>
<context>
    <name>Strings</name>
    <message>
        <source>Fehler beim Lesen der Daten</source>
        <translation>Error reading the data</translation>
    </message>
    <message>
        <source>Datum/Zeit kann nicht gelesen werden</source>
        <translation>Date/time cannot be read</translation>
    </message>
    <message>
        <source>Datum/Zeit erfolgreich gesetzt</source>
        <translation>Date/time set successfully</translation>
    </message>
    <message>
        <source>Fehler bei Datum/Zeit setzen</source>
        <translation>Error setting date/time</translation>
    </message>
    <message>
        <source>Datenbuffer wirklich löschen?
Alle Datensätze gehen verloren!</source>
        <translation>Really clear the data buffer?
All records will be lost!</translation>
    </message>
    <message>
        <source>Fehler beim Löschen des Datenbuffers</source>
        <translation>Error clearing the data buffer</translation>
    </message>
    <message>
        <source>Format erfolgreich gesetzt</source>
        <translation>Format set successfully</translation>
    </message>
    <message>
        <source>Fehler beim Setzen des  Formates</source>
        <translation>Error setting the format</translation>
    </message>
    <message>
        <source>ID Nummer erfolgreich gesetzt</source>
        <translation>ID number set successfully</translation>
    </message>
    <message>
        <source>Fehler beim Setzen der ID Nummer</source>
        <translation>Error setting the ID number</translation>
    </message>
    <message>
        <source>Betriebsart erfolgreich gesetzt</source>
        <translation>Operating mode set successfully</translation>
    </message>
    <message>
        <source>Fehler beim Setzen der Betriebsart</source>
        <translation>Error setting the operating mode</translation>
    </message>
    <message>
        <source>Fehler beim Lesen der Parameter</source>
        <translation>Error reading the parameters</translation>
    </message>
    <message>
        <source>Es müssen genau 2 Ziffern eingegeben werden!</source>
        <translation>Exactly 2 digits must be entered!</translation>
    </message>
    <message>
        <source>Speichertest durchführen?
Alle Datensätze werden überschrieben!</source>
        <translation>Run the memory test?
All records will be overwritten!</translation>
    </message>
    <message>
        <source>Fehler bei Speichertest</source>
        <translation>Error in memory test</translation>
    </message>
    <message>
        <source>Speichertest erfolgreich durchgeführt</source>
        <translation>Memory test completed successfully</translation>
    </message>
    <message>
        <source>Die Sprachinformationen konnten nicht geladen werden!<byte value="xd"/>
Standardsprache Deutsch wird geladen!</source>
        <translation>The language information could not be loaded!<byte value="xd"/>
The default language German is loaded!</translation>
    </message>
    <message>
        <source>Zur Ausführung der Hilfe muss ein PDF-Betrachter installiert sein.
Übliche PDF-Betrachter sind zum Beispiel Evince oder Okular; Sie können sie mit der Paketverwaltung Ihrer Distribution installieren.
Das Handbuch liegt unter
%1
</source>
        <translation>To show the help, a PDF viewer must be installed.
Usual PDF viewers are, for example, Evince or Okular; you can install them with your distribution&apos;s package manager.
The manual is at
%1
</translation>
    </message>
    <message>
        <source>Nicht genügend Systemresourcen vorhanden!
</source>
        <translation>Not enough system resources available!
</translation>
    </message>
    <message>
        <source>Unbekannter Fehler %d</source>
        <translation>Unknown error %d</translation>
    </message>
    <message>
        <source>Daten erfolgreich geschrieben</source>
        <translation>Data written successfully</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben</source>
        <translation>Error writing</translation>
    </message>
    <message>
        <source>Bereit</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>Geben Sie bitte eine ganze Zahl ein.</source>
        <translation>Please enter an integer.</translation>
    </message>
    <message>
        <source>Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
    <message>
        <source>Geben Sie bitte nicht mehr als %1 Zeichen ein.</source>
        <translation>Please enter no more than %1 characters.</translation>
    </message>
    <message>
        <source>Geben Sie bitte eine positive ganze Zahl ein.</source>
        <translation>Please enter a positive integer.</translation>
    </message>
    <message>
        <source>Änderungen in %1 speichern?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>Fehler beim Speichern des Dokuments.</source>
        <translation>Failed to save the document.</translation>
    </message>
    <message>
        <source>Fehler beim Öffnen des Dokuments.</source>
        <translation>Failed to open the document.</translation>
    </message>
    <message>
        <source>Fehler beim Erzeugen eines leeren Dokuments.</source>
        <translation>Failed to create an empty document.</translation>
    </message>
    <message>
        <source>Unbenannt</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Lesen der Daten aus dem Datenbuffer
Lese Datenbuffer (L)</source>
        <translation>Read the data from the data buffer
Read data buffer (L)</translation>
    </message>
    <message>
        <source>Lesen von Datum und Uhrzeit
Lese Datum + Uhrzeit (R)</source>
        <translation>Read date and time
Read date + time (R)</translation>
    </message>
    <message>
        <source>Setzen von Datum und Uhrzeit
Setze Datum + Uhrzeit (S)</source>
        <translation>Set date and time
Set date + time (S)</translation>
    </message>
    <message>
        <source>Datenbuffer löschen
Datenbuffer löschen (C)</source>
        <translation>Clear the data buffer
Clear data buffer (C)</translation>
    </message>
    <message>
        <source>Setzen der ID Nummer
Setze ID (I)</source>
        <translation>Set the ID number
Set ID (I)</translation>
    </message>
    <message>
        <source>Setzen der Betriebsart Transparent oder Standard
Transparent/Standard (M)</source>
        <translation>Set the operating mode transparent or standard
Transparent/standard (M)</translation>
    </message>
    <message>
        <source>Setzen des Datenformats Dezimal / HEX
 Dezimal/HEX (F)</source>
        <translation>Set the data format decimal / hex
 Decimal/hex (F)</translation>
    </message>
    <message>
        <source>Setzen des Zeitformats mit oder ohne Zehntelsekunde
 Zeitformat (U)</source>
        <translation>Set the time format with or without tenths of a second
 Time format (U)</translation>
    </message>
    <message>
        <source>Setzen der Parameter Verzögerungszeit, Öffnungszeit, Haltezeit
Zeiten setzen</source>
        <translation>Set the parameters delay time, opening time, hold time
Set times</translation>
    </message>
    <message>
        <source>Lesen der Parameter
Parameter lesen (P)</source>
        <translation>Read the parameters
Read parameters (P)</translation>
    </message>
    <message>
        <source>Schlüsselnummern verwalten
Schlüsselnummern</source>
        <translation>Manage the key numbers
Key numbers</translation>
    </message>
    <message>
        <source>Speicher prüfen
Speicher prüfen</source>
        <translation>Test the memory
Test memory</translation>
    </message>
    <message>
        <source>Schnittstelle auswählen
Schnittstelle auswählen</source>
        <translation>Select the interface
Select interface</translation>
    </message>
    <message>
        <source>Stellt die Sprache auf deutsch
deutsch</source>
        <translation>Sets the language to German
German</translation>
    </message>
    <message>
        <source>Stellt die Sprache auf englisch
englisch</source>
        <translation>Sets the language to English
English</translation>
    </message>
    <message>
        <source>Beginnt ein neues, leeres Protokoll
Neu</source>
        <translation>Starts a new, empty transcript
New</translation>
    </message>
    <message>
        <source>Öffnet eine gespeicherte Textdatei
Öffnen</source>
        <translation>Opens a saved text file
Open</translation>
    </message>
    <message>
        <source>Speichert das Protokoll in seine Datei
Speichern</source>
        <translation>Saves the transcript to its file
Save</translation>
    </message>
    <message>
        <source>Speichert das Protokoll unter einem neuen Namen
Speichern unter</source>
        <translation>Saves the transcript under a new name
Save as</translation>
    </message>
    <message>
        <source>Wählt den Drucker und seine Einstellungen
Druckereinrichtung</source>
        <translation>Chooses the printer and its settings
Print setup</translation>
    </message>
    <message>
        <source>Druckt das Protokoll
Drucken</source>
        <translation>Prints the transcript
Print</translation>
    </message>
    <message>
        <source>Zeigt die Druckseiten des Protokolls an
Seitenansicht</source>
        <translation>Shows the printed pages of the transcript
Print preview</translation>
    </message>
    <message>
        <source>Zeigt Version und Hersteller des Programms an
Info</source>
        <translation>Shows the version and maker of the program
About</translation>
    </message>
    <message>
        <source>Beendet das Programm und fragt, ob das Protokoll gespeichert werden soll
Beenden</source>
        <translation>Quits the program and asks whether to save the transcript
Exit</translation>
    </message>
    <message>
        <source>Öffnet das Handbuch
Hilfe</source>
        <translation>Opens the manual
Help</translation>
    </message>
    <message>
        <source>Alle Schlüssel im Leser löschen?</source>
        <translation>Erase all keys in the reader?</translation>
    </message>
    <message>
        <source>Parameter und Schlüssel wirklich zurücksetzen?
Alle Schlüssel im Leser werden gelöscht!</source>
        <translation>Really reset the parameters and keys?
All keys in the reader will be erased!</translation>
    </message>
    <message>
        <source>Teach IN ausschalten?</source>
        <translation>Switch Teach IN off?</translation>
    </message>
    <message>
        <source>Teach IN ist eingeschaltet</source>
        <translation>Teach IN is switched on</translation>
    </message>
    <message>
        <source>Kein Leser antwortet an %1</source>
        <translation>No reader answers on %1</translation>
    </message>
    <message>
        <source>Der Leser pausierte länger als der Timeout (%1 ms): Timeout unter „Schnittstelle wählen“ erhöhen</source>
        <translation>The reader paused longer than the timeout (%1 ms): raise the timeout under “Select interface”</translation>
    </message>
</context>
</TS>
