#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#include "CtlTestSupport.h"
#include "LinkTestSupport.h"

namespace {

constexpr auto npos = std::string::npos;

QJsonObject Json(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

TEST_F(OrvaneCtl, EveryReaderCommandRunsEndToEnd) {
    const Result records = Run({"records"});
    EXPECT_EQ(records.status, 0) << records.err;
    EXPECT_TRUE(records.out.ends_with("END\r\n"));
    EXPECT_EQ(std::count(records.out.begin(), records.out.end(), '\n'), kRecords + 1);
    EXPECT_EQ(Run({"records", "-o", Scratch("records.txt")}).status, 0);
    EXPECT_EQ(ReadFile(Scratch("records.txt")), records.out);

    WriteFile(Scratch("keys.txt"), "0012AB34\r\n00000042\n");
    WriteFile(Scratch("none.txt"), "\r\n");
    struct Step {
        std::vector<std::string> args;
        std::string said;
    };
    for (const Step& step : std::vector<Step>{
             {{"set", "id", "42"}, "ID Nummer erfolgreich gesetzt"},
             {{"set", "mode", "3"}, "Betriebsart erfolgreich gesetzt"},
             {{"set", "number-format", "1"}, "Format erfolgreich gesetzt"},
             {{"set", "time-format", "1"}, "Format erfolgreich gesetzt"},
             {{"set", "timing", "h", "12"}, "Daten erfolgreich geschrieben"},
             {{"keys", "--write", Scratch("keys.txt")}, "Daten erfolgreich geschrieben"},
             {{"keys"}, "0012AB34\n00000042"},
             {{"clock"}, "Abweichung von der Uhr des PCs: "},
             {{"keys", "--write", Scratch("none.txt"), "--yes"}, "Daten erfolgreich geschrieben"},
             {{"memory-test", "--yes"}, "Speichertest erfolgreich durchgeführt"},
             {{"clear", "--yes"}, "Datenbuffer gelöscht."}}) {
        const Result result = Run(step.args);
        EXPECT_EQ(result.status, 0) << step.args[0] << ": " << result.err;
        EXPECT_NE(result.out.find(step.said), npos) << result.out;
    }
    EXPECT_EQ(m_emulator.RecordCount(), 0u);
    EXPECT_TRUE(m_emulator.Keys().empty());

    const QJsonObject parameters = Json(Run({"parameters", "--json"}).out);
    EXPECT_EQ(parameters["model"].toString(), "Orvane SX");
    EXPECT_EQ(parameters["fields"].toObject()["ID"].toString(), "42");
    EXPECT_EQ(parameters["fields"].toObject()["H"].toString(), "012");
    EXPECT_EQ(Run({"reset", "--yes"}).status, 0);
    EXPECT_EQ(Json(Run({"parameters", "--json"}).out)["fields"].toObject()["H"].toString(), "010");
    // A program that has a port open without its lock has it open, it does
    // not hold it. A network entry is listed with its address.
    const CHeldPort line("", "orvline", CHeldPort::Hold::OwnPty);
    const CHeldPort opener(line.Path(), "orvopener", CHeldPort::Hold::Open);
    ASSERT_TRUE(line.Pid() != 0 && opener.Pid() != 0);
    StoreSettings("[Devices]\nCOM40=" + line.Path() + "\nCOM41=socket://127.0.0.1:9\n");
    const Result ports = Run({"ports", "--json"}, {}, false);
    EXPECT_EQ(ports.status, 0);
    QStringList seen;
    for (const QJsonValue& value : Json(ports.out)["ports"].toArray()) {
        const QJsonObject port = value.toObject();
        seen << port["port"].toString() + "|" + port["network"].toString() + "|" +
                    QString::number(port.contains("heldBy")) + "|" +
                    QString::number(port["openedBy"].toArray().size());
    }
    EXPECT_TRUE(seen.contains("COM40||0|1") && seen.contains("COM41|socket://127.0.0.1:9|0|0"))
        << ports.out;
}

// Refused before anything is sent, with the dialogs' messages and status 2.
TEST_F(OrvaneCtl, RefusedValuesAreUsageErrorsAndSendNothing) {
    WriteFile(Scratch("empty.txt"), " \r\n\n");
    WriteFile(Scratch("letters.txt"), "0012AB34\n12X4\n");
    const std::string forms = "erwartet wird ein COM-Name (COM3)";
    struct Case {
        std::vector<std::string> args;
        std::string said;
        bool withPort = true;
    };
    for (const Case& c : std::vector<Case>{
             {{"set", "id", "4"}, "Es müssen genau 2 Ziffern eingegeben werden!"},
             {{"set", "id", "4x"}, "Es müssen genau 2 Ziffern eingegeben werden!"},
             {{"set", "id", "123"}, "Geben Sie bitte nicht mehr als 2 Zeichen ein."},
             {{"set", "timing", "V", "1000"}, "ganze Zahl zwischen 0 und 999"},
             {{"set", "timing", "Z", "5s"}, "Geben Sie bitte eine ganze Zahl ein."},
             {{"set", "mode", "4"}, "3 = mit Schlossüberwachung / RS232 Mode"},
             {{"clear"}, "Alle Datensätze gehen verloren! Zum Ausführen --yes angeben."},
             {{"clock", "--set", "310226120000"}, "keine gültige Zeit"},
             {{"records", "--clear"}, "--clear gilt nicht für records"},
             {{"clock", "--max-drift", "-1"}, "eine positive ganze Zahl"},
             {{"lights"}, "Unbekannter Befehl"},
             {{"keys", "--write", Scratch("empty.txt")},
              "Alle Schlüssel im Leser löschen? Zum Ausführen --yes angeben."},
             {{"keys", "--write", Scratch("letters.txt")},
              "Zeile 2 ist keine Schlüsselnummer: „12X4“"},
             {{"clock", "--port", "localhost:3334"}, "--port „localhost:3334“: " + forms, false},
             {{"clock", "--port", "A1B2C3"}, forms, false},
             {{"clock", "--port", "USB:"}, forms, false},
             {{"clock", "--port", "socket://[::1]:70000"}, forms, false},
             {{"clock", "--port", "rfc2217://host"}, forms, false}}) {
        const Result result = Run(c.args, {}, c.withPort);
        EXPECT_EQ(result.status, 2) << c.args[0];
        EXPECT_NE(result.err.find(c.said), npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_TRUE(m_emulator.Requests().empty());
}

// A reader that does not answer is named as such, whatever was asked, and
// never taken for the basic model.
TEST_F(OrvaneCtl, ASilentReaderIsNamedAsSuch) {
    m_emulator.SetFault(EmulatorFault::NoAnswer);
    const std::string said = "Kein Leser antwortet an " + m_emulator.PortPath();
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"set", "mode", "2"}, {"keys"}, {"parameters"}, {"clock"}, {"set", "id", "42"}}) {
        const Result result = Run(args);
        EXPECT_EQ(result.status, 4) << args[0];
        EXPECT_NE(result.err.find(said), npos) << result.err;
    }
}

TEST_F(OrvaneCtl, ALinkThatDoesNotOpenIsStatus3WithItsReason) {
    Result result = Run({"clock", "--port", "/dev/orvane-test-missing"}, {}, false);
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("/dev/orvane-test-missing ist nicht vorhanden"), npos) << result.err;
    result = Run({"clock"}, {}, false);
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("Keine Schnittstelle eingestellt"), npos) << result.err;
    // A bare tty name is a device of /dev; a network address opens like a path.
    result = Run({"clock", "--port", "ttyOrvaneMissing0"}, {}, false);
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("/dev/ttyOrvaneMissing0 ist nicht vorhanden"), npos) << result.err;
    result = Run({"clock", "--port", "socket://[::1]:9"}, {}, false);
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err.find("libftd2xx"), npos) << result.err;
}

// Without link options the window's stored port is used, and its language.
TEST_F(OrvaneCtl, TheWindowsSettingsAndLanguageApply) {
    StoreSettings("[Settings]\nSprache=1\n[Port]\nName=COM40\nTimeout=250\n[Devices]\nCOM40=" +
                  m_emulator.PortPath() + "\n");
    const Result clock = Run({"clock", "--max-drift", "2"}, {}, false);
    EXPECT_EQ(clock.status, 0) << clock.err;
    EXPECT_NE(clock.out.find("Deviation from the PC's clock"), npos) << clock.out;
    const Result refused = Run({"set", "id", "1"}, {}, false);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("Exactly 2 digits"), npos) << refused.err;
    EXPECT_NE(Run({"clock", "--timeout", "5"}, {}, false).err.find("between 10 and 300000"), npos);
    EXPECT_NE(Run({"--help"}, {}, false).out.find("Exit status:"), npos);
}

// The reader's clock is set only when it is off by more than the drift allowed.
TEST_F(OrvaneCtl, ClockIsSetOnlyBeyondTheDrift) {
    Result result = Run({"clock", "--max-drift", "2"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Sent('S'), 0u);
    EXPECT_EQ(Run({"clock", "--set", "010120000000"}).status, 0);
    EXPECT_EQ(Sent('S'), 1u);
    result = Run({"clock", "--max-drift", "2", "--json"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Sent('S'), 2u);
    EXPECT_TRUE(Json(result.out)["set"].toBool());
    EXPECT_LT(Json(result.out)["drift_seconds"].toInteger(), -2);
}

}  // namespace
