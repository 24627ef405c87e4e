<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>CClearBufferDlg</name>
    <message>
        <location filename="../ClearBufferDlg.cpp" line="12"/>
        <source>Datenpuffer löschen</source>
        <translation>Clear data buffer</translation>
    </message>
</context>
<context>
    <name>CClockDisplayDlg</name>
    <message>
        <location filename="../ClockDisplayDlg.cpp" line="20"/>
        <source>Datum lesen</source>
        <translation>Read date</translation>
    </message>
    <message>
        <location filename="../ClockDisplayDlg.cpp" line="21"/>
        <source>Schliessen</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../ClockDisplayDlg.cpp" line="23"/>
        <source>Datum / Zeit im Gerät:</source>
        <translation>Date / time in the device:</translation>
    </message>
</context>
<context>
    <name>CClockSetDlg</name>
    <message>
        <location filename="../ClockSetDlg.cpp" line="21"/>
        <source>Datum setzen</source>
        <translation>Set date</translation>
    </message>
    <message>
        <location filename="../ClockSetDlg.cpp" line="22"/>
        <source>Setzen</source>
        <translation>Set</translation>
    </message>
    <message>
        <location filename="../ClockSetDlg.cpp" line="24"/>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../ClockSetDlg.cpp" line="1"/>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <location filename="../ClockSetDlg.cpp" line="1"/>
        <source>Uhrzeit</source>
        <translation>Time</translation>
    </message>
</context>
<context>
    <name>CIdDlg</name>
    <message>
        <location filename="../IdDlg.cpp" line="19"/>
        <source>ID Setzen</source>
        <translation>Set ID</translation>
    </message>
    <message>
        <location filename="../IdDlg.cpp" line="20"/>
        <source>Setzen</source>
        <translation>Set</translation>
    </message>
    <message>
        <location filename="../IdDlg.cpp" line="22"/>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../IdDlg.cpp" line="23"/>
        <source>ID Nummer:</source>
        <translation>ID number:</translation>
    </message>
</context>
<context>
    <name>CKeyNumbersDlg</name>
    <message>
        <location filename="../KeyNumbersDlg.cpp" line="37"/>
        <source>Schlüssel verwalten</source>
        <translation>Manage keys</translation>
    </message>
    <message>
        <location filename="../KeyNumbersDlg.cpp" line="38"/>
        <source>Schliessen</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../KeyNumbersDlg.cpp" line="39"/>
        <source>Schlüssel
lesen</source>
        <translation>Read
keys</translation>
    </message>
    <message>
        <location filename="../KeyNumbersDlg.cpp" line="40"/>
        <source>Schlüssel
schreiben</source>
        <translation>Write
keys</translation>
    </message>
    <message>
        <location filename="../KeyNumbersDlg.cpp" line="41"/>
        <source>Teach IN</source>
        <translation>Teach IN</translation>
    </message>
    <message>
        <location filename="../KeyNumbersDlg.cpp" line="1"/>
        <source>Schlüsselnummern</source>
        <translation>Key numbers</translation>
    </message>
</context>
<context>
    <name>CMemoryTestDlg</name>
    <message>
        <location filename="../MemoryTestDlg.cpp" line="12"/>
        <source>Speichertest</source>
        <translation>Memory test</translation>
    </message>
</context>
<context>
    <name>CModeDlg</name>
    <message>
        <location filename="../ModeDlg.cpp" line="7"/>
        <location filename="../ModeDlg.cpp" line="12"/>
        <source>Betriebsart setzen</source>
        <translation>Set operating mode</translation>
    </message>
    <message>
        <location filename="../ModeDlg.cpp" line="7"/>
        <source>ohne Schlossüberwachung / Mastercard Mode</source>
        <translation>without lock monitoring / Mastercard mode</translation>
    </message>
    <message>
        <location filename="../ModeDlg.cpp" line="8"/>
        <source>mit Schlossüberwachung / Mastercard Mode</source>
        <translation>with lock monitoring / Mastercard mode</translation>
    </message>
    <message>
        <location filename="../ModeDlg.cpp" line="9"/>
        <source>ohne Schlossüberwachung / RS232 Mode</source>
        <translation>without lock monitoring / RS232 mode</translation>
    </message>
    <message>
        <location filename="../ModeDlg.cpp" line="10"/>
        <source>mit Schlossüberwachung / RS232 Mode</source>
        <translation>with lock monitoring / RS232 mode</translation>
    </message>
    <message>
        <location filename="../ModeDlg.cpp" line="12"/>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <location filename="../ModeDlg.cpp" line="12"/>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
</context>
<context>
    <name>CNumberFormatDlg</name>
    <message>
        <location filename="../NumberFormatDlg.cpp" line="4"/>
        <source>Format setzen</source>
        <translation>Set format</translation>
    </message>
    <message>
        <location filename="../NumberFormatDlg.cpp" line="4"/>
        <source>Hexadezimal</source>
        <translation>Hexadecimal</translation>
    </message>
    <message>
        <location filename="../NumberFormatDlg.cpp" line="4"/>
        <source>Dezimal</source>
        <translation>Decimal</translation>
    </message>
</context>
<context>
    <name>COrvaneDoc</name>
    <message>
        <location filename="../OrvaneDoc.cpp" line="120"/>
        <source>Textdatei (*.txt)</source>
        <translation>Text file (*.txt)</translation>
    </message>
    <message>
        <source>Die Datei ist größer als die %L1 Zeichen, die das Protokoll fasst.</source>
        <translation>The file is larger than the %L1 characters the transcript holds.</translation>
    </message>
    <message>
        <source>Die Datei ist nicht vorhanden.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>Das ist ein Ordner, keine Datei.</source>
        <translation>This is a folder, not a file.</translation>
    </message>
    <message>
        <source>Die Datei darf nicht gelesen werden (keine Leserechte).</source>
        <translation>The file may not be read (no read permission).</translation>
    </message>
</context>
<context>
    <name>CParametersDlg</name>
    <message>
        <location filename="../ParametersDlg.cpp" line="31"/>
        <source>Parameter setzen</source>
        <translation>Set parameters</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="37"/>
        <source>Setzen</source>
        <translation>Set</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="40"/>
        <source>Sek.</source>
        <translation>sec.</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="49"/>
        <source>Verzögerungszeit:</source>
        <translation>Delay time:</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="50"/>
        <source>Öffnungszeit:</source>
        <translation>Opening time:</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="51"/>
        <source>Haltezeit:</source>
        <translation>Hold time:</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="56"/>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="57"/>
        <source>Parameter und Schlüssel zurücksetzen:</source>
        <translation>Reset parameters and keys:</translation>
    </message>
    <message>
        <location filename="../ParametersDlg.cpp" line="59"/>
        <source>Schliessen</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CRadioDlg</name>
    <message>
        <location filename="../RadioDlg.cpp" line="34"/>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../RadioDlg.cpp" line="35"/>
        <source>Setzen</source>
        <translation>Set</translation>
    </message>
</context>
<context>
    <name>CTimeFormatDlg</name>
    <message>
        <location filename="../TimeFormatDlg.cpp" line="4"/>
        <source>Zeitformat setzen</source>
        <translation>Set time format</translation>
    </message>
    <message>
        <location filename="../TimeFormatDlg.cpp" line="4"/>
        <source>HH:MM:SS:Z (mit Zehntelsekunden)</source>
        <translation>HH:MM:SS:Z (with tenths of a second)</translation>
    </message>
    <message>
        <location filename="../TimeFormatDlg.cpp" line="5"/>
        <source>HH:MM:SS (ohne Zehntelsekunden)</source>
        <translation>HH:MM:SS (without tenths of a second)</translation>
    </message>
</context>
</TS>
