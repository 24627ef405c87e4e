<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
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
</TS>
