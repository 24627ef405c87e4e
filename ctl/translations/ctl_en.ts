<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>CCollectCommand</name>
    <message>
        <source>%1 ist kein Ordner.</source>
        <translation>%1 is not a folder.</translation>
    </message>
    <message>
        <source>Im Ordner %1 sammelt schon ein anderes orvanectl (PID %2); dieses liest nichts.</source>
        <translation>Another orvanectl (PID %2) is already collecting in the folder %1; this one reads nothing.</translation>
    </message>
    <message>
        <source>In den Ordner %1 kann nicht geschrieben werden: %2</source>
        <translation>Cannot write to the folder %1: %2</translation>
    </message>
    <message>
        <source>%1 gesichert: %2 Datensätze, %3 Bytes.</source>
        <translation>%1 saved: %2 records, %3 bytes.</translation>
    </message>
    <message>
        <source>Datenbuffer gelöscht.</source>
        <translation>Data buffer cleared.</translation>
    </message>
    <message>
        <source>%1 kann nicht geschrieben werden: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>%1 gibt es nicht, und den Ordner darüber auch nicht: %2 fehlt.</source>
        <translation>%1 does not exist, nor does the folder above it: %2 is missing.</translation>
    </message>
    <message>
        <source>%1 ist ein symbolischer Verweis, der weder root noch diesem Benutzer gehört; collect folgt ihm nicht.</source>
        <translation>%1 is a symbolic link that belongs neither to root nor to this user; collect does not follow it.</translation>
    </message>
    <message>
        <source>Der Ordner %1 kann nicht angelegt werden: %2</source>
        <translation>Cannot create the folder %1: %2</translation>
    </message>
    <message>
        <source>Der Ordner %1 kann nicht geöffnet werden: %2</source>
        <translation>Cannot open the folder %1: %2</translation>
    </message>
    <message>
        <source>Der Datenbuffer wird nicht gelöscht.</source>
        <translation>The data buffer is not cleared.</translation>
    </message>
    <message>
        <source>Die zweite Auslese weicht von der gesicherten ab, nicht nur um neue Datensätze am Ende.</source>
        <translation>The second read-out differs from the saved one, not just by new records at its end.</translation>
    </message>
    <message>
        <source>Der Leser bucht weiter: auch die %1. Auslese brachte neue Datensätze.</source>
        <translation>The reader keeps booking: read-out %1 too brought new records.</translation>
    </message>
    <message>
        <source>Keine Datensätze im Leser: keine Datei geschrieben.</source>
        <translation>No records in the reader: no file written.</translation>
    </message>
    <message>
        <source>%1 ist ein symbolischer Verweis; collect schreibt nicht hinein.</source>
        <translation>%1 is a symbolic link; collect does not write into it.</translation>
    </message>
    <message>
        <source>Mit dem Leser wurde nicht gesprochen.</source>
        <translation>The reader was not contacted.</translation>
    </message>
</context>
<context>
    <name>CCtlCommandLine</name>
    <message>
        <source>Zeigt diese Hilfe an.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Zeigt die Version an.</source>
        <translation>Shows the version.</translation>
    </message>
    <message>
        <source>Schnittstelle: COM-Name (COM3), „USB: “ und Seriennummer, Gerätepfad (/dev/ttyUSB0) oder -name (ttyUSB0), rfc2217://Rechner:Port oder socket://Rechner:Port. Sonst die im Fenster gewählte.</source>
        <translation>Interface: a COM name (COM3), &quot;USB: &quot; and a serial number, a device path (/dev/ttyUSB0) or name (ttyUSB0), rfc2217://host:port or socket://host:port. Otherwise the one chosen in the window.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>name</translation>
    </message>
    <message>
        <source>Baudrate. Sonst die im Fenster gewählte (19200).</source>
        <translation>Baud rate. Otherwise the one chosen in the window (19200).</translation>
    </message>
    <message>
        <source>Baud</source>
        <translation>baud</translation>
    </message>
    <message>
        <source>Timeout der Antworten in ms, 10 bis 300000. Sonst der im Fenster gewählte (500).</source>
        <translation>Reply time-out in ms, 10 to 300000. Otherwise the one chosen in the window (500).</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Ausgabe als JSON (ports, clock, parameters, collect).</source>
        <translation>Output as JSON (ports, clock, parameters, collect).</translation>
    </message>
    <message>
        <source>records: in diese Datei schreiben (sie wird als Ganzes ersetzt) statt auf die Standardausgabe.</source>
        <translation>records: write to this file (replaced as a whole) instead of standard output.</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>file</translation>
    </message>
    <message>
        <source>collect: danach den Datenbuffer löschen, nur wenn alles gesichert ist.</source>
        <translation>collect: clear the data buffer afterwards, only when everything is saved.</translation>
    </message>
    <message>
        <source>clock: Datum/Zeit setzen, „now“ für die Uhr des PCs oder TTMMJJhhmmss.</source>
        <translation>clock: set the date and time, &quot;now&quot; for the PC&apos;s clock or DDMMYYhhmmss.</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>time</translation>
    </message>
    <message>
        <source>clock: nur setzen (auf die Uhr des PCs), wenn die Uhr des Lesers um mehr als so viele Sekunden abweicht.</source>
        <translation>clock: set it (to the PC&apos;s clock) only when the reader&apos;s clock is off by more than this many seconds.</translation>
    </message>
    <message>
        <source>Sekunden</source>
        <translation>seconds</translation>
    </message>
    <message>
        <source>keys: die Schlüsselnummern dieser Datei schreiben (eine je Zeile).</source>
        <translation>keys: write the key numbers of this file (one per line).</translation>
    </message>
    <message>
        <source>Bestätigt reset, clear, memory-test und keys --write einer Datei ohne Schlüssel.</source>
        <translation>Confirms reset, clear, memory-test and keys --write of a file without keys.</translation>
    </message>
    <message>
        <source>Führt die Befehle des Orvane-Lesers ohne Fenster aus: von Hand, aus Skripten und aus einem systemd-Timer. Ohne --port, --baud und --timeout gelten die Einstellungen des Fensters, ebenso seine Sprache.</source>
        <translation>Runs the commands of the Orvane reader without a window: by hand, from scripts and from a systemd timer. Without --port, --baud and --timeout the settings of the window apply, and so does its language.</translation>
    </message>
    <message>
        <source>Befehl</source>
        <translation>command</translation>
    </message>
    <message>
        <source>Der Befehl und seine Argumente (siehe oben).</source>
        <translation>The command and its arguments (see above).</translation>
    </message>
    <message>
        <source>Befehl [Argumente]</source>
        <translation>command [arguments]</translation>
    </message>
    <message>
        <source>Kein Befehl angegeben.</source>
        <translation>No command given.</translation>
    </message>
    <message>
        <source>--port „%1“: %2</source>
        <translation>--port &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Unbekannter Befehl „%1“.</source>
        <translation>Unknown command &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Die Option --%1 gilt nicht für %2.</source>
        <translation>The option --%1 does not apply to %2.</translation>
    </message>
    <message>
        <source>%1: Es fehlt ein Argument.</source>
        <translation>%1: an argument is missing.</translation>
    </message>
    <message>
        <source>%1: Zu viele Argumente.</source>
        <translation>%1: too many arguments.</translation>
    </message>
    <message>
        <source>„%1“ ist keine gültige Zeit: erwartet wird now oder TTMMJJhhmmss.</source>
        <translation>&quot;%1&quot; is not a valid time: now or DDMMYYhhmmss is expected.</translation>
    </message>
    <message>
        <source>--max-drift vergleicht mit der Uhr des PCs und geht nur mit --set now.</source>
        <translation>--max-drift compares with the PC&apos;s clock and goes only with --set now.</translation>
    </message>
    <message>
        <source>Parameter und Schlüssel wirklich zurücksetzen?</source>
        <translation>Really reset the parameters and keys?</translation>
    </message>
    <message>
        <source>set timing: erwartet wird V, Z oder H und ein Wert.</source>
        <translation>set timing: V, Z or H and a value are expected.</translation>
    </message>
    <message>
        <source>set %1: erwartet wird genau ein Wert.</source>
        <translation>set %1: exactly one value is expected.</translation>
    </message>
    <message>
        <source>Erlaubt sind: %1</source>
        <translation>Allowed are: %1</translation>
    </message>
    <message>
        <source>Erlaubt sind: V = %1, Z = %2, H = %3</source>
        <translation>Allowed are: V = %1, Z = %2, H = %3</translation>
    </message>
    <message>
        <source>set: unbekannte Einstellung „%1“ (id, mode, number-format, time-format, timing).</source>
        <translation>set: unknown setting &quot;%1&quot; (id, mode, number-format, time-format, timing).</translation>
    </message>
    <message>
        <source>Zum Ausführen --yes angeben.</source>
        <translation>Give --yes to go ahead.</translation>
    </message>
    <message>
        <source>„%1 --help“ liefert weitere Informationen.</source>
        <translation>Try &apos;%1 --help&apos; for more information.</translation>
    </message>
    <message>
        <source>Befehle:
  ports                  die COM-Tabelle und die USB-Adapter
  records [-o Datei]     Datensätze lesen, Bytes wie empfangen
  collect Ordner [--clear]
                         Datensätze in eine neue Datei &lt;ID&gt;-JJJJMMTT-hhmmss.txt
                         im Ordner sichern, Zeile in Ordner/collect.log; mit
                         --clear danach den Datenbuffer löschen
  clock [--set now|TTMMJJhhmmss] [--max-drift Sekunden]
                         Datum/Zeit lesen oder setzen
  parameters             Parameter lesen
  set id NN              ID Nummer setzen (2 Ziffern)
  set mode N             Betriebsart setzen (0-1, Orvane SX 0-3)
  set number-format N    0 hexadezimal, 1 dezimal
  set time-format N      0 mit, 1 ohne Zehntelsekunden
  set timing V|Z|H N     Verzögerungs-, Öffnungs-, Haltezeit in Sekunden, 0-999
                         (Orvane SX)
  reset --yes            Parameter und Schlüssel zurücksetzen (Orvane SX)
  keys [--write Datei [--yes]]
                         Schlüsselnummern lesen oder schreiben (Orvane SX);
                         eine Datei ohne Schlüssel löscht alle, nur mit --yes
  memory-test --yes      Speichertest
  clear --yes            Datenbuffer löschen
</source>
        <translation>Commands:
  ports                  the COM table and the USB adapters
  records [-o file]      read the records, bytes as received
  collect folder [--clear]
                         save the records in a new file &lt;ID&gt;-YYYYMMDD-hhmmss.txt
                         in the folder, a line in folder/collect.log; with
                         --clear, clear the data buffer afterwards
  clock [--set now|DDMMYYhhmmss] [--max-drift seconds]
                         read or set the date and time
  parameters             read the parameters
  set id NN              set the ID number (2 digits)
  set mode N             set the operating mode (0-1, Orvane SX 0-3)
  set number-format N    0 hexadecimal, 1 decimal
  set time-format N      0 with, 1 without tenths of a second
  set timing V|Z|H N     delay, opening, hold time in seconds, 0-999
                         (Orvane SX)
  reset --yes            reset the parameters and keys (Orvane SX)
  keys [--write file [--yes]]
                         read or write the key numbers (Orvane SX); a file
                         without keys erases them all, only with --yes
  memory-test --yes      memory test
  clear --yes            clear the data buffer
</translation>
    </message>
    <message>
        <source>Exit-Status:
  0  erledigt
  2  falscher Aufruf oder ein Wert, den der Dialog ablehnt
  3  keine Verbindung zum Leser (der Grund steht auf der Standardfehlerausgabe)
  4  der Leser hat nicht geantwortet oder abgelehnt
  5  eine Datei konnte nicht geschrieben werden, oder ein anderes collect
     arbeitet im selben Ordner
  6  unterbrochen durch SIGTERM, SIGINT oder SIGHUP; collect hat nichts
     gelöscht
</source>
        <translation>Exit status:
  0  done
  2  wrong command line, or a value the dialog refuses
  3  no link to the reader (the reason is on standard error)
  4  the reader did not answer or refused
  5  a file could not be written, or another collect is working in the same
     folder
  6  interrupted by SIGTERM, SIGINT or SIGHUP; collect has cleared nothing
</translation>
    </message>
    <message>
        <source>records, collect, clock, parameters für jeden Leser dieser Liste, gleichzeitig: eine INI-Datei mit einem Abschnitt [Name] je Leser (Port=, wahlweise Baudrate= und Timeout=); records -o nennt dann einen Ordner.</source>
        <translation>records, collect, clock, parameters for every reader of this list, at the same time: an INI file with a section [name] per reader (Port=, optionally Baudrate= and Timeout=); records -o then names a folder.</translation>
    </message>
    <message>
        <source>--readers: höchstens so viele Leser gleichzeitig (sonst alle, bis %1).</source>
        <translation>--readers: at most this many readers at the same time (else all, up to %1).</translation>
    </message>
    <message>
        <source>Anzahl</source>
        <translation>number</translation>
    </message>
    <message>
        <source>--jobs gilt nur mit --readers.</source>
        <translation>--jobs applies only with --readers.</translation>
    </message>
    <message>
        <source>%1 gilt für einen Leser, nicht für eine Liste (--readers geht mit records, collect, clock und parameters).</source>
        <translation>%1 is for one reader, not for a list (--readers works with records, collect, clock and parameters).</translation>
    </message>
    <message>
        <source>--port und --readers schließen einander aus: die Liste nennt die Schnittstellen.</source>
        <translation>--port and --readers exclude each other: the list names the ports.</translation>
    </message>
    <message>
        <source>records --readers braucht -o Ordner: dort entsteht &lt;Name&gt;.txt je Leser.</source>
        <translation>records --readers needs -o folder: &lt;name&gt;.txt is made there for each reader.</translation>
    </message>
</context>
<context>
    <name>CCtlCommands</name>
    <message>
        <source>Die Standardausgabe nimmt die Daten nicht an: %1</source>
        <translation>Standard output does not take the data: %1</translation>
    </message>
    <message>
        <source>%1 kann nicht geschrieben werden: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Abweichung von der Uhr des PCs: %1 s</source>
        <translation>Deviation from the PC&apos;s clock: %1 s</translation>
    </message>
    <message>
        <source>Innerhalb von %1 s: Datum/Zeit bleibt, wie sie ist.</source>
        <translation>Within %1 s: the date and time stay as they are.</translation>
    </message>
    <message>
        <source>%1 kann nicht gelesen werden: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>Datenbuffer gelöscht.</source>
        <translation>Data buffer cleared.</translation>
    </message>
    <message>
        <source>%1 gibt es nur beim %2; der Leser an %3 ist ein %4.</source>
        <translation>%1 exists only on the %2; the reader on %3 is an %4.</translation>
    </message>
</context>
<context>
    <name>CCtlLink</name>
    <message>
        <source>Die Verbindung zu %1 ist getrennt worden.</source>
        <translation>The link to %1 was lost.</translation>
    </message>
    <message>
        <source>Keine Schnittstelle eingestellt: --port angeben oder im Fenster unter „Schnittstelle wählen“ eine wählen.</source>
        <translation>No interface set: give --port or choose one in the window under &quot;Schnittstelle wählen&quot; (select interface).</translation>
    </message>
    <message>
        <source>%1 kann nicht geöffnet werden.</source>
        <translation>Cannot open %1.</translation>
    </message>
    <message>
        <source>erwartet wird ein COM-Name (COM3), „USB: “ und die Seriennummer eines Adapters, ein Gerätepfad (/dev/ttyUSB0), ein Gerätename (ttyUSB0 für /dev/ttyUSB0), rfc2217://Rechner:Port oder socket://Rechner:Port (IPv6 in eckigen Klammern).</source>
        <translation>expected is a COM name (COM3), &quot;USB: &quot; and the serial number of an adapter, a device path (/dev/ttyUSB0), a device name (ttyUSB0 for /dev/ttyUSB0), rfc2217://host:port or socket://host:port (IPv6 in square brackets).</translation>
    </message>
    <message>
        <source>Unterbrochen durch %1.</source>
        <translation>Interrupted by %1.</translation>
    </message>
    <message>
        <source>Die Antwort an %1 endet nicht: nach %2 Bytes und %3 s abgebrochen (höchstens %4 Bytes oder %5 s).</source>
        <translation>The reply on %1 does not end: stopped after %2 bytes and %3 s (at most %4 bytes or %5 s).</translation>
    </message>
    <message>
        <source>%1 Fehler auf der Leitung (Überlauf, Rahmen oder Parität) während der Antwort an %2: sie gilt nicht.</source>
        <translation>%1 line errors (overrun, framing or parity) during the reply on %2: it does not count.</translation>
    </message>
</context>
<context>
    <name>CFleetCommand</name>
    <message>
        <source>%1 von %2 Lesern erledigt.</source>
        <translation>%1 of %2 readers done.</translation>
    </message>
    <message>
        <source>Nicht erledigt (Exit-Status): %1.</source>
        <translation>Not done (exit status): %1.</translation>
    </message>
</context>
<context>
    <name>CFleetFile</name>
    <message>
        <source>kann nicht gelesen werden: %1</source>
        <translation>cannot be read: %1</translation>
    </message>
    <message>
        <source>„%1“ ist kein Lesername: [Name] aus Buchstaben, Ziffern, _ . und -, höchstens 64 Zeichen.</source>
        <translation>“%1” is no reader name: [name] of letters, digits, _ . and -, at most 64 characters.</translation>
    </message>
    <message>
        <source>[%1] steht schon in Zeile %2.</source>
        <translation>[%1] is already in line %2.</translation>
    </message>
    <message>
        <source>weder [Leser] noch Schlüssel=Wert: „%1“</source>
        <translation>neither [reader] nor key=value: “%1”</translation>
    </message>
    <message>
        <source>„%1“ steht vor dem ersten [Leser].</source>
        <translation>“%1” comes before the first [reader].</translation>
    </message>
    <message>
        <source>%1= steht zweimal in [%2].</source>
        <translation>%1= is twice in [%2].</translation>
    </message>
    <message>
        <source>unbekannter Schlüssel „%1“ (Port, Baudrate, Timeout).</source>
        <translation>unknown key “%1” (Port, Baudrate, Timeout).</translation>
    </message>
    <message>
        <source>kein [Leser] darin.</source>
        <translation>no [reader] in it.</translation>
    </message>
    <message>
        <source>[%1] hat kein Port=.</source>
        <translation>[%1] has no Port=.</translation>
    </message>
    <message>
        <source>[%1] nennt dieselbe Schnittstelle wie [%2]: %3</source>
        <translation>[%1] names the same port as [%2]: %3</translation>
    </message>
    <message>
        <source>Zeile %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
</context>
</TS>
