#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <functional>
#include <regex>
#include <thread>

#include "CtlTestSupport.h"
#include "ctl/CtlCommandLine.h"
#include "ctl/FleetCommand.h"
#include "ctl/HeadlessUserInterface.h"

using namespace std::chrono_literals;

namespace {

constexpr auto npos = std::string::npos;

// A list of four readers: two emulated ones, a missing device and a port
// that refuses the connection; run in this process, so that the threads of
// a list run under the thread checks of the sanitizer builds.
class OrvaneFleet : public OrvaneCtl {
protected:
    void SetUp() override {
        OrvaneCtl::SetUp();
        ASSERT_TRUE(m_second.Start());
        WriteFile(
            Scratch("readers.ini"),
            "# two doors and two that cannot be reached\n[Tor-1]\nPort=" + m_emulator.PortPath() +
                "\nTimeout=250\n\n[Tor-2]\nPort=" + m_second.PortPath() +
                "\nTimeout=250\nBaudrate=19200\n[Tor-3]\nPort=/dev/orvane-test-missing\n"
                "[Tor-4]\nPort=socket://127.0.0.1:9\n");
    }
    void TearDown() override {
        m_second.Stop();
        OrvaneCtl::TearDown();
    }

    Result Fleet(std::vector<std::string> args) {
        QStringList arguments{QStringLiteral("orvanectl"), QStringLiteral("--readers"),
                              QString::fromStdString(Scratch("readers.ini"))};
        for (const std::string& arg : args) {
            arguments << QString::fromStdString(arg);
        }
        CCtlCommandLine commandLine;
        Result result;
        if (commandLine.Parse(arguments) != CCtlCommandLine::Action::Run) {
            result.status = commandLine.ExitStatus();
            result.err = commandLine.ErrorOutput().toStdString();
            return result;
        }
        ::setenv("XDG_CONFIG_HOME", Scratch("config").c_str(), 1);
        CHeadlessUserInterface ui;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        result.status = static_cast<int>(CFleetCommand(commandLine.Request(), ui).Run());
        result.out = testing::internal::GetCapturedStdout();
        result.err = testing::internal::GetCapturedStderr();
        return result;
    }

    static EmulatorOptions SecondOptions() {
        EmulatorOptions options;
        options.model = ReaderModel::Extended;
        options.seedRecords = kRecords;
        options.progressInterval = 0us;
        return options;
    }

    CReaderEmulator m_second{SecondOptions()};
};

QJsonArray JsonArray(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).array();
}

std::vector<int> Statuses(const QJsonArray& readers) {
    std::vector<int> statuses;
    for (const QJsonValue& reader : readers) {
        statuses.push_back(reader[QStringLiteral("status")].toInt());
    }
    return statuses;
}

// Each reader runs on its own: a reader that cannot be reached or does not
// answer is named, logged and never cleared, and does not stop the others;
// the exit status is the worst of them.
TEST_F(OrvaneFleet, EveryReaderRunsOnItsOwnAndTheWorstStatusCounts) {
    const std::string records = Run({"records"}).out;
    const std::string out = Scratch("out");
    const std::string log = out + "/collect.log";
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::function<void()> arrange;
        int status;
        std::function<void(const Result&)> check;
    };
    const std::vector<Case> cases{
        {"collect --clear --json with a silent reader",
         {"collect", out, "--clear", "--json"},
         [&] { m_second.SetFault(EmulatorFault::NoAnswer); },
         4,
         [&](const Result& result) {
             const QJsonArray readers = JsonArray(result.out);
             EXPECT_EQ(Statuses(readers), (std::vector<int>{0, 4, 3, 3})) << result.out;
             EXPECT_TRUE(readers[0][QStringLiteral("result")][QStringLiteral("cleared")].toBool());
             EXPECT_EQ(readers[2][QStringLiteral("name")].toString(), QStringLiteral("Tor-3"));
             EXPECT_NE(result.err.find("1 von 4 Lesern erledigt. Nicht erledigt (Exit-Status): "
                                       "Tor-2 (4), Tor-3 (3), Tor-4 (3)."),
                       npos)
                 << result.err;
             EXPECT_EQ(m_emulator.RecordCount(), 0u);
             EXPECT_EQ(m_second.RecordCount(), kRecords);
             EXPECT_EQ(Sent('C'), 1u);
             const std::vector<std::string> names = FolderNames(out);
             ASSERT_EQ(names.size(), 3u);
             EXPECT_TRUE(std::regex_match(names[0], std::regex("Tor-1-01-[0-9]{8}-[0-9]{6}\\.txt")))
                 << names[0];
             EXPECT_EQ(ReadFile(out + "/" + names[0]), records);
             const std::string text = ReadFile(log);
             EXPECT_NE(text.find("\tsaved\t" + names[0] + "\tTor-1\n"), npos) << text;
             EXPECT_NE(text.find("\tcleared\t\tTor-1\n"), npos) << text;
             EXPECT_TRUE(
                 std::regex_search(text, std::regex("\tno-reader\tKein Leser[^\n]*\tTor-2\n")))
                 << text;
             EXPECT_TRUE(std::regex_search(
                 text, std::regex("/dev/orvane-test-missing\t\t0\t0\tno-link\t[^\n]*\tTor-3\n")))
                 << text;
             EXPECT_TRUE(std::regex_search(text, std::regex("\tno-link\t[^\n]*\tTor-4\n"))) << text;
         }},
        {"collect --clear, the silent reader back",
         {"collect", out, "--clear"},
         [&] { m_second.SetFault(EmulatorFault::None); },
         3,
         [&](const Result& result) {
             EXPECT_NE(result.out.find("Tor-1: Keine Datensätze im Leser"), npos) << result.out;
             EXPECT_NE(result.out.find("Tor-2: " + out + "/Tor-2-01-"), npos) << result.out;
             EXPECT_NE(result.out.find("Tor-2: Datenbuffer gelöscht."), npos) << result.out;
             EXPECT_NE(result.out.find("2 von 4 Lesern erledigt. Nicht erledigt (Exit-Status): "
                                       "Tor-3 (3), Tor-4 (3).\n"),
                       npos)
                 << result.out;
             EXPECT_NE(result.err.find("orvanectl: Tor-3: /dev/orvane-test-missing ist nicht "
                                       "vorhanden"),
                       npos)
                 << result.err;
             EXPECT_EQ(m_second.RecordCount(), 0u);
             EXPECT_EQ(FolderNames(out).size(), 4u);
         }},
        {"clock --max-drift sets only the clock that is off",
         {"clock", "--max-drift", "60", "--json"},
         [&] {
             ASSERT_EQ(
                 Run({"clock", "--set", "010120000000", "--port", m_second.PortPath()}, {}, false)
                     .status,
                 0);
         },
         3,
         [&](const Result& result) {
             const QJsonArray readers = JsonArray(result.out);
             EXPECT_EQ(Statuses(readers), (std::vector<int>{0, 0, 3, 3})) << result.out;
             EXPECT_FALSE(readers[0][QStringLiteral("result")][QStringLiteral("set")].toBool());
             EXPECT_TRUE(readers[1][QStringLiteral("result")][QStringLiteral("set")].toBool());
             EXPECT_EQ(Sent('S'), 0u);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        const Result result = Fleet(c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        c.check(result);
    }
}

// SIGTERM in the middle of the read-outs ends every reader's request; none
// is cleared, no temporary file stays, and the signal decides the status.
TEST_F(OrvaneFleet, ASignalStopsEveryReaderAndClearsNone) {
    const std::string records = Run({"records"}).out;
    const std::string report = m_emulator.ParameterReport();
    m_emulator.ClearRequests();
    const CReaderEmulator::Responder halves = [&](const std::string& request) -> Reply {
        if (request != "L") {
            return {{0ms, report}};
        }
        return {{0ms, records.substr(0, records.size() / 2)},
                {5s, records.substr(records.size() / 2)}};
    };
    m_emulator.SetResponder(halves);
    m_second.SetResponder(halves);
    std::thread stopper([&] {
        if (m_emulator.WaitForRequests(2, 10s) && m_second.WaitForRequests(2, 10s)) {
            while (m_running == 0) {
                std::this_thread::sleep_for(1ms);
            }
            std::this_thread::sleep_for(100ms);
            ::kill(m_running, SIGTERM);
        }
    });
    const std::string out = Scratch("out");
    const Result result =
        Run({"--readers", Scratch("readers.ini"), "collect", out, "--clear"}, {}, false);
    stopper.join();
    EXPECT_EQ(result.status, 6) << result.err;
    EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"collect.lock", "collect.log"}));
    const std::string log = ReadFile(out + "/collect.log");
    for (const char* name : {"Tor-1", "Tor-2"}) {
        EXPECT_TRUE(std::regex_search(
            log, std::regex(std::string("\tinterrupted\tUnterbrochen durch SIGTERM[^\n]*\t") +
                            name + "\n")))
            << log;
    }
    EXPECT_EQ(Sent('C'), 0u);
    for (const std::string& request : m_second.Requests()) {
        EXPECT_NE(request, "C");
    }
    EXPECT_NE(result.out.find("0 von 4 Lesern erledigt."), npos) << result.out;
}

// A list that is not what it should be is refused before any reader is asked.
TEST_F(OrvaneFleet, AFaultyListIsAUsageErrorNamingTheLine) {
    struct Case {
        std::string file;  // empty: the file as it is; the command is refused first
        std::vector<std::string> args;
        std::string said;
    };
    const std::string forms = "erwartet wird ein COM-Name (COM3)";
    for (const Case& c : std::vector<Case>{
             {"[Tor-1]\nPort=COM3\nSpeed=1\n", {}, "Zeile 3: unbekannter Schlüssel „Speed“"},
             {"Port=COM3\n", {}, "Zeile 1: „Port=COM3“ steht vor dem ersten [Leser]."},
             {"[Tor 1]\nPort=COM3\n", {}, "Zeile 1: „[Tor 1]“ ist kein Lesername"},
             {"[A]\nPort=COM3\n[a]\nPort=COM4\n", {}, "Zeile 3: [a] steht schon in Zeile 1."},
             {"[A]\nPort=localhost:3334\n", {}, "Zeile 2: Port=localhost:3334: " + forms},
             {"[A]\nPort=COM3\nTimeout=5\n", {}, "Zeile 3: Timeout=5: Geben Sie bitte eine ganze"},
             {"[A]\nPort=COM3\nPort=COM4\n", {}, "Zeile 3: Port= steht zweimal in [A]."},
             {"\xEF\xBB\xBF[A]\r\nBaudrate=19200\r\n", {}, "Zeile 1: [A] hat kein Port=."},
             {"[A]\nPort=ttyS0\n[B]\nPort=/dev/ttyS0\n", {}, "[B] nennt dieselbe Schnittstelle"},
             {"[A]\nPort COM3\n", {}, "Zeile 2: weder [Leser] noch Schlüssel=Wert"},
             {"# empty\n", {}, "kein [Leser] darin."},
             {"", {"set", "id", "01"}, "set gilt für einen Leser, nicht für eine Liste"},
             {"", {"records"}, "records --readers braucht -o Ordner"},
             {"", {"clock", "--port", "COM3"}, "--port und --readers schließen einander aus"},
         }) {
        if (!c.file.empty()) {
            WriteFile(Scratch("readers.ini"), c.file);
        }
        std::vector<std::string> args = c.args;
        if (args.empty()) {
            args = {"parameters"};
        }
        const Result result = Fleet(args);
        EXPECT_EQ(result.status, 2) << c.said;
        EXPECT_NE(result.err.find(c.said), npos) << result.err;
    }
    EXPECT_TRUE(m_emulator.Requests().empty());
}

}  // namespace
