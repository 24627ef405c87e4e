<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
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
    <message>
        <source>Zeile %1 ist keine Schlüsselnummer: „%2“. Jede Zeile hält 1 bis 10 Ziffern 0-9 und A-F. Es wurde nichts gesendet.</source>
        <translation>Line %1 is not a key number: &quot;%2&quot;. Each line holds 1 to 10 digits 0-9 and A-F. Nothing was sent.</translation>
    </message>
    <message>
        <source>Leitungsfehler beim Lesen (%1): Einzelne Zeichen im Protokoll können fehlen oder falsch sein.</source>
        <translation>Line errors while reading (%1): single characters in the transcript may be missing or wrong.</translation>
    </message>
    <message>
        <source>Überlauf</source>
        <translation>overrun</translation>
    </message>
    <message>
        <source>Rahmenfehler</source>
        <translation>framing error</translation>
    </message>
    <message>
        <source>Paritätsfehler</source>
        <translation>parity error</translation>
    </message>
    <message>
        <source>Teach IN an %1 ist vielleicht noch eingeschaltet.</source>
        <translation>Teach IN at %1 may still be switched on.</translation>
    </message>
    <message>
        <source>Der Netzwerk-Leser kann nicht eingetragen werden: Alle Nummern von COM3 bis COM255 sind vergeben.</source>
        <translation>The network reader cannot be added: all numbers from COM3 to COM255 are taken.</translation>
    </message>
    <message>
        <source>Der Netzwerk-Leser kann nicht als COM%1 eingetragen werden: Die Einstellungen lassen sich nicht schreiben.</source>
        <translation>The network reader cannot be added as COM%1: the settings cannot be written.</translation>
    </message>
</context>
<context>
    <name>LinkTexts</name>
    <message>
        <location filename="../LinkTexts.cpp" line="29"/>
        <source>Kein Zugriff auf %1: Die Rechte des Geräts lassen es nicht zu.</source>
        <translation>No access to %1: the device&apos;s permissions do not allow it.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="36"/>
        <source>Kein Zugriff auf %1: Das Gerät gehört der Gruppe „%2“, und der Benutzer %3 ist nicht in dieser Gruppe. Abhilfe: sudo usermod -aG %2 %3, danach neu anmelden.</source>
        <translation>No access to %1: the device belongs to the group &quot;%2&quot;, and the user %3 is not in this group. Remedy: sudo usermod -aG %2 %3, then log in again.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="41"/>
        <source>Kein Zugriff auf %1: Der Benutzer %3 ist in der Gruppe „%2“, diese Sitzung aber noch nicht. Bitte ab- und wieder anmelden.</source>
        <translation>No access to %1: the user %3 is in the group &quot;%2&quot;, but this session is not yet. Please log out and in again.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="44"/>
        <source>Kein Zugriff auf %1, obwohl der Benutzer %3 in der Gruppe „%2“ ist: Die Rechte des Geräts verbieten es.</source>
        <translation>No access to %1 although the user %3 is in the group &quot;%2&quot;: the device&apos;s permissions forbid it.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="60"/>
        <source>%1 ist nicht vorhanden (nicht eingesteckt oder keinem Gerät zugeordnet).</source>
        <translation>%1 is not present (not plugged in, or not assigned to a device).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="68"/>
        <source>%1 ist von einem anderen Programm belegt: %2 (PID %3)</source>
        <translation>%1 is in use by another program: %2 (PID %3)</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="72"/>
        <source>%1 ist von einem anderen Programm belegt.</source>
        <translation>%1 is in use by another program.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="75"/>
        <source>%1 ist keine serielle Schnittstelle.</source>
        <translation>%1 is not a serial port.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="78"/>
        <source>%1 kann nicht geöffnet werden: Die FTDI-Bibliothek libftd2xx.so fehlt (in den Programmordner oder den Bibliothekspfad legen).</source>
        <translation>%1 cannot be opened: the FTDI library libftd2xx.so is missing (put it into the program folder or on the library path).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="84"/>
        <source>%1 nimmt die Einstellungen nicht an (%2: %3).</source>
        <translation>%1 does not accept the line settings (%2: %3).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="90"/>
        <source>%1 kann nicht geöffnet werden: %2</source>
        <translation>%1 cannot be opened: %2</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="97"/>
        <source>Gerät: %1</source>
        <translation>Device: %1</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="111"/>
        <source>Seriennummer: %1</source>
        <translation>Serial number: %1</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="114"/>
        <source>Treiber: %1</source>
        <translation>Driver: %1</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="117"/>
        <source>FTDI-Adapter über die Bibliothek libftd2xx</source>
        <translation>FTDI adapter through the libftd2xx library</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="120"/>
        <source>belegt von %1 (PID %2)</source>
        <translation>in use by %1 (PID %2)</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="30"/>
        <source>geöffnet von %1 (PID %2)</source>
        <translation>opened by %1 (PID %2)</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="56"/>
        <source>Kein Zugriff auf %1: Das Gerät (%2, Rechte %3) gibt keiner Benutzergruppe Lese- und Schreibrecht. Abhilfe: eine udev-Regel, die ihm eine Gruppe wie „dialout“ und die Rechte 660 gibt (Handbuch, Abschnitt 3.4).</source>
        <translation>No access to %1: the device (%2, mode %3) grants no user group read and write access. Remedy: a udev rule that gives it a group such as &quot;dialout&quot; and mode 660 (manual, section 3.4).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="90"/>
        <source>%1 ist von einem anderen Programm belegt; geöffnet hat es %2 (PID %3).</source>
        <translation>%1 is in use by another program; it is open in %2 (PID %3).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="127"/>
        <source>%1 getrennt</source>
        <translation>%1 disconnected</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="132"/>
        <source>Verbindung zu %1 getrennt: Das Lesen wurde abgebrochen, das Protokoll enthält alles bis dahin Empfangene.</source>
        <translation>Connection to %1 lost: the read-out was cut short; the transcript holds everything received until then.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="137"/>
        <source>Verbindung zu %1 getrennt. Orvane verbindet wieder, sobald das Gerät zurück ist.</source>
        <translation>Connection to %1 lost. Orvane reconnects as soon as the device is back.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="143"/>
        <source>An %1 ist jetzt ein anderes Gerät. Orvane verbindet nicht von selbst; wählen Sie die Schnittstelle, um es zu benutzen.</source>
        <translation>%1 now holds another device. Orvane does not connect by itself; choose the interface to use it.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="144"/>
        <source>Verbindung zu %1 wiederhergestellt.</source>
        <translation>Connection to %1 restored.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="56"/>
        <source>Baudrate</source>
        <translation>baud rate</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="58"/>
        <source>Datenbits</source>
        <translation>data bits</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="60"/>
        <source>Parität</source>
        <translation>parity</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="62"/>
        <source>Stoppbits</source>
        <translation>stop bits</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="64"/>
        <source>Flusskontrolle</source>
        <translation>flow control</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="75"/>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="75"/>
        <source>ungerade</source>
        <translation>odd</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="76"/>
        <source>gerade</source>
        <translation>even</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="76"/>
        <source>Mark</source>
        <translation>mark</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="77"/>
        <source>Space</source>
        <translation>space</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="84"/>
        <source>1,5</source>
        <translation>1.5</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="96"/>
        <source>%1: Der Server antwortet nicht auf die Steuerung der Schnittstelle nach RFC 2217. Ist der Port als reiner TCP-Port eingerichtet, socket:// statt rfc2217:// verwenden.</source>
        <translation>%1: the server does not answer the request to control the port by RFC 2217. If the port is set up as a raw TCP port, use socket:// instead of rfc2217://.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="101"/>
        <source>%1: Der Server lehnt die Steuerung der Schnittstelle nach RFC 2217 ab. Ist der Port als reiner TCP-Port eingerichtet, socket:// statt rfc2217:// verwenden.</source>
        <translation>%1: the server refuses control of the port by RFC 2217. If the port is set up as a raw TCP port, use socket:// instead of rfc2217://.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="110"/>
        <source>%1: Der Server antwortet nicht auf die Einstellung %2 = %3.</source>
        <translation>%1: the server does not answer the setting %2 = %3.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="114"/>
        <source>%1: Der Server nimmt die Einstellung %2 = %3 nicht an (er meldet %4).</source>
        <translation>%1: the server does not accept the setting %2 = %3 (it reports %4).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="129"/>
        <source>%1 ist keine gültige Netzwerkadresse (erwartet: rfc2217://RECHNER:PORT oder socket://RECHNER:PORT, eine IPv6-Adresse in eckigen Klammern).</source>
        <translation>%1 is not a valid network address (expected: rfc2217://HOST:PORT or socket://HOST:PORT, an IPv6 address in square brackets).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="135"/>
        <source>%1: Der Rechnername „%2“ lässt sich nicht auflösen (unbekannt, oder der Namensdienst antwortet nicht).</source>
        <translation>%1: the host name &quot;%2&quot; cannot be resolved (unknown, or the name service does not answer).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="140"/>
        <source>%1: Der Rechner %2 lehnt die Verbindung ab; an Port %3 läuft kein Dienst (Geräteserver oder ser2net nicht gestartet, falscher Port).</source>
        <translation>%1: the host %2 refuses the connection; no service runs on port %3 (device server or ser2net not running, wrong port).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="146"/>
        <source>%1: Der Rechner %2 antwortet nicht (ausgeschaltet, nicht erreichbar oder durch eine Firewall gesperrt).</source>
        <translation>%1: the host %2 does not answer (switched off, unreachable or blocked by a firewall).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="151"/>
        <source>%1 ist belegt: Der Server bedient schon einen anderen Client und hat die Verbindung abgewiesen („%2“).</source>
        <translation>%1 is in use: the server already serves another client and turned this connection away (&quot;%2&quot;).</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="159"/>
        <source>%1: Der Server hat die Verbindung sofort wieder beendet.</source>
        <translation>%1: the server closed the connection at once.</translation>
    </message>
    <message>
        <location filename="../LinkTexts.cpp" line="163"/>
        <source>%1: Der Server hat die Verbindung sofort wieder beendet („%2“).</source>
        <translation>%1: the server closed the connection at once (&quot;%2&quot;).</translation>
    </message>
    <message>
        <source>Netzwerk-Leser: %1</source>
        <translation>Network reader: %1</translation>
    </message>
    <message>
        <source>keine gültige Netzwerkadresse</source>
        <translation>not a valid network address</translation>
    </message>
    <message>
        <source>Rechner: %1, Port %2</source>
        <translation>Host: %1, port %2</translation>
    </message>
    <message>
        <source>Art: RFC 2217 (Orvane stellt Baudrate und Format ein)</source>
        <translation>Kind: RFC 2217 (Orvane sets baud rate and framing)</translation>
    </message>
    <message>
        <source>Art: TCP roh (Baudrate und Format stellt der Server ein)</source>
        <translation>Kind: raw TCP (the server sets baud rate and framing)</translation>
    </message>
</context>
</TS>
