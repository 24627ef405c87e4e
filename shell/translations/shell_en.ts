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
    <message>
        <source>&amp;Netzwerk-Leser hinzufügen…</source>
        <translation>Add &amp;network reader…</translation>
    </message>
    <message>
        <source>Netzwerk-Leser hinzufügen</source>
        <translation>Add network reader</translation>
    </message>
</context>
<context>
    <name>CNetReaderDlg</name>
    <message>
        <source>Netzwerk-Leser hinzufügen</source>
        <translation>Add network reader</translation>
    </message>
    <message>
        <source>RFC 2217 (Orvane stellt die Baudrate ein)</source>
        <translation>RFC 2217 (Orvane sets the baud rate)</translation>
    </message>
    <message>
        <source>TCP roh (Baudrate am Server eingestellt)</source>
        <translation>raw TCP (baud rate set on the server)</translation>
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
        <source>&amp;Rechner:</source>
        <translation>&amp;Host:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>&amp;Art:</source>
        <translation>&amp;Kind:</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Symbolleiste</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Protokoll</source>
        <translation>Transcript</translation>
    </message>
    <message>
        <source>Weitere Befehle</source>
        <translation>More commands</translation>
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
</TS>
