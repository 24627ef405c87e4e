<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
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
</context>
</TS>
