<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>CInfoDlg</name>
    <message>
        <location filename="../InfoDlg.ui" line="6"/>
        <source>Info über Orvane</source>
        <translation>About Orvane</translation>
    </message>
    <message>
        <location filename="../InfoDlg.ui" line="21"/>
        <source>Orvane Version</source>
        <translation>Orvane Version</translation>
    </message>
    <message>
        <location filename="../InfoDlg.ui" line="31"/>
        <source>© 2024 Meridel Applikationen GmbH. Alle Rechte vorbehalten.</source>
        <translation>© 2024 Meridel Applikationen GmbH. All rights reserved.</translation>
    </message>
    <message>
        <location filename="../InfoDlg.ui" line="41"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../InfoDlg.ui" line="51"/>
        <source>Meridel Applikationen GmbH
Zutritts- und Zeiterfassungssysteme</source>
        <translation>Meridel Applikationen GmbH
Access control and time recording systems</translation>
    </message>
    <message>
        <location filename="../InfoDlg.ui" line="73"/>
        <source>Telefon +49 000 1234-0
Telefax +49 000 1234-99</source>
        <translation>Phone +49 000 1234-0
Fax +49 000 1234-99</translation>
    </message>
</context>
</TS>
