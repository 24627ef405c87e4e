#include <fcntl.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <functional>
#include <regex>
#include <thread>

#include "CtlTestSupport.h"
#include "ctl/CtlLink.h"
#include "link/PortBackend.h"

using namespace std::chrono_literals;

namespace {

TEST_F(OrvaneCtl, CollectWithClearSavesTheRecordsLogsAndThenClears) {
    const std::string records = Run({"records"}).out;
    ::mkdir(Scratch("out").c_str(), 0755);
    const Result result = Run({"collect", Scratch("out"), "--clear", "--json"});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> names = FolderNames(Scratch("out"));
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(std::regex_match(names[0], std::regex("01-[0-9]{8}-[0-9]{6}\\.txt"))) << names[0];
    EXPECT_EQ(ReadFile(Scratch("out/" + names[0])), records);
    const std::string log = ReadFile(Scratch("out/collect.log"));
    const std::string saved =
        "\t01\t" + std::to_string(records.size()) + "\t20\tsaved\t" + names[0];
    EXPECT_NE(log.find(saved + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\tcleared\n", log.find(saved)), std::string::npos) << log;
    EXPECT_EQ(m_emulator.RecordCount(), 0u);
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
    EXPECT_EQ(json["records"].toInt(), 20);
    EXPECT_TRUE(json["cleared"].toBool());

    // An empty reader: no file, and the log says 0 records.
    EXPECT_EQ(Run({"collect", Scratch("out"), "--clear"}).status, 0);
    EXPECT_EQ(FolderNames(Scratch("out")).size(), 3u);
    EXPECT_NE(ReadFile(Scratch("out/collect.log")).find("\t5\t0\tno-records\n"), std::string::npos);
}

// Whatever goes wrong, the reader keeps its records, no temporary file is
// left, and the log says what it was; a read-out is kept in a file only when
// it ended with "END".
TEST_F(OrvaneCtl, CollectFaultsKeepTheBuffer) {
    const std::string records = Run({"records"}).out;
    const std::string report = m_emulator.ParameterReport();
    struct Fault {
        const char* name;
        int status;
        const char* logged;  // the result in collect.log; null: no log can be written
        bool fileKept;
        std::function<void()> arrange;
        std::function<void()> beforeExec;
        std::function<void(CCtlLink&)> inProcess;  // set: collect runs here, armed by it
    };
    // Set when the records are asked for: at this byte count `act` runs.
    std::atomic<std::size_t> actAt{0};
    std::function<void()> act;
    // The first half of the records, then the rest after 3 s, and act at the half.
    auto halfThen = [&](std::function<void()> action) {
        act = std::move(action);
        m_emulator.SetResponder([&](const std::string& request) -> Reply {
            if (request != "L") {
                return {{0ms, report}};
            }
            actAt = m_emulator.BytesSent() + records.size() / 2;
            return {{0ms, records.substr(0, records.size() / 2)},
                    {3s, records.substr(records.size() / 2)}};
        });
    };
    std::atomic<int> readOuts{0};
    const std::vector<Fault> faults{
        {"line drops mid read-out",
         4,
         "read-failed",
         false,
         [&] { halfThen([&] { m_emulator.HangUp(); }); },
         {},
         {}},
        {"line drops before the read-out's first byte",
         4,
         "read-failed",
         false,
         [&] {
             act = [&] { m_emulator.HangUp(); };
             m_emulator.SetResponder([&](const std::string& request) -> Reply {
                 if (request == "L") {
                     actAt = m_emulator.BytesSent();  // the report's bytes: not 0
                     return {};
                 }
                 return {{0ms, report}};
             });
         },
         {},
         {}},
        {"read-out without END",
         4,
         "read-failed",
         false,
         [&] {
             m_emulator.SetResponder([&](const std::string& request) -> Reply {
                 return {{0ms, request == "L" ? records.substr(0, records.size() - 5) : report}};
             });
         },
         {},
         {}},
        {"no reader answers",
         4,
         "no-reader",
         false,
         [&] { m_emulator.SetFault(EmulatorFault::NoAnswer); },
         {},
         {}},
        {"SIGTERM mid read-out",
         6,
         "interrupted",
         false,
         [&] { halfThen([&] { ::kill(m_running, SIGTERM); }); },
         {},
         {}},
        {"a line that never ends its reply",
         4,
         "no-end",
         false,
         [&] {
             m_emulator.SetResponder([&](const std::string& request) -> Reply {
                 Reply chatter{{0ms, report}};
                 for (int i = 0; request == "L" && i < 24; ++i) {
                     chatter.push_back({1ms, std::string(64 * 1024, '7')});
                 }
                 return chatter;
             });
         },
         {},
         {}},
        {"line errors in the read-out",
         4,
         "line-errors",
         true,
         [] {},
         {},
         [&](CCtlLink& link) {
             m_emulator.SetRequestObserver([&](const std::string& request, bool) {
                 if (request == "L") {
                     link.Reader().OnLineError(kErrFraming);
                 }
             });
         }},
        {"the second read-out lost a record",
         4,
         "changed",
         true,
         [&] {
             readOuts = 0;
             m_emulator.SetResponder([&](const std::string& request) -> Reply {
                 if (request != "L") {
                     return {{0ms, report}};
                 }
                 return {{0ms, ++readOuts == 1 ? records : records.substr(records.find('\n') + 1)}};
             });
         },
         {},
         {}},
        {"folder not writable",
         5,
         nullptr,
         false,
         [] {},
         [] {
             // Root writes anywhere unless it gives up that capability.
             if (::geteuid() == 0 && ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0) {
                 ::_exit(126);
             }
         },
         {}},
        {"file size limit",
         5,
         "write-failed",
         false,
         [] {},
         [] {
             const rlimit limit{300, 300};
             ::setrlimit(RLIMIT_FSIZE, &limit);
         },
         {}},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const std::string folder = Scratch("out");
        ::mkdir(folder.c_str(), 0755);
        if (std::string(fault.name) == "folder not writable") {
            ::chmod(folder.c_str(), 0555);
        }
        m_emulator.ClearRequests();
        fault.arrange();
        actAt = 0;
        std::atomic<bool> ended{false};
        std::thread actor([&] {
            while (!ended && (actAt == 0 || m_emulator.BytesSent() < actAt)) {
                std::this_thread::sleep_for(1ms);
            }
            if (actAt != 0) {
                act();
            }
        });
        CChildProcess::Options options;
        options.beforeExec = fault.beforeExec;
        const Result result = fault.inProcess ? Collect({folder, "--clear"}, fault.inProcess)
                                              : Run({"collect", folder, "--clear"}, options);
        ended = true;
        actor.join();
        EXPECT_EQ(result.status, fault.status) << result.err;
        EXPECT_FALSE(result.err.empty());
        EXPECT_EQ(m_emulator.RecordCount(), kRecords);
        EXPECT_EQ(Sent('C'), 0u);
        std::size_t kept = 0;
        for (const std::string& name : FolderNames(folder)) {
            EXPECT_NE(name.front(), '.') << name;  // no temporary file
            if (name != "collect.lock" && name != "collect.log") {
                ++kept;
                EXPECT_EQ(ReadFile(folder + "/" + name), records);
            }
        }
        EXPECT_EQ(kept, fault.fileKept ? 1u : 0u);
        if (fault.logged != nullptr) {
            EXPECT_NE(ReadFile(folder + "/collect.log").find(std::string("\t") + fault.logged),
                      std::string::npos)
                << ReadFile(folder + "/collect.log");
        }

        m_emulator.SetRequestObserver({});
        m_emulator.SetResponder({});
        m_emulator.SetFault(EmulatorFault::None);
        ::chmod(folder.c_str(), 0755);
        std::filesystem::remove_all(folder);
        // A new line: nothing of this reply reaches the next case.
        m_emulator.Stop();
        ASSERT_TRUE(m_emulator.Start());
    }
}

// A badge booked while collect runs is in a saved file afterwards or still
// in the reader, never cleared unsaved; one booked as the second read-out is
// asked for goes into a file of its own.
TEST_F(OrvaneCtl, BadgesBookedDuringACollectAreNeverCleared) {
    struct Case {
        const char* name;
        std::string badge;
        bool inFile;  // certainly saved (else saved or still in the reader)
        std::function<void()> book;
    };
    std::atomic<int> readOuts{0};
    const std::vector<Case> cases{
        {"100 ms after the read-out's END", "00ABCDE1", false,
         [&] {
             // P and L answered, L's reply gone: then the badge.
             if (m_emulator.WaitForRequests(2, 5s) && m_emulator.WaitForOutputDone(5s)) {
                 std::this_thread::sleep_until(m_emulator.LastByteTime() + 100ms);
                 m_emulator.PresentBadge("00ABCDE1");
             }
         }},
        {"as the second read-out is asked for", "00ABCDE2", true,
         [&] {
             m_emulator.SetRequestObserver([&](const std::string& request, bool) {
                 if (request == "L" && ++readOuts == 2) {
                     m_emulator.PresentBadge("00ABCDE2");
                 }
             });
         }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        for (unsigned key = 1; m_emulator.RecordCount() < kRecords; ++key) {
            m_emulator.PresentBadge(std::to_string(key));
        }
        m_emulator.ClearRequests();
        const std::string folder = Scratch("out" + std::to_string(i));
        std::thread booking(c.book);
        const Result result = Run({"collect", folder, "--clear"});
        booking.join();
        m_emulator.SetRequestObserver({});
        EXPECT_EQ(result.status, 0) << result.err;
        std::string saved;
        std::vector<std::string> files;
        for (const std::string& name : FolderNames(folder)) {
            if (name.ends_with(".txt")) {
                files.push_back(ReadFile(folder + "/" + name));
                saved += files.back();
            }
        }
        const bool inFile = saved.find(c.badge) != std::string::npos;
        EXPECT_EQ(m_emulator.RecordCount(), inFile ? 0u : 1u) << saved;
        if (c.inFile) {
            // The first file as it was; the badge alone in the second.
            ASSERT_EQ(files.size(), 2u);
            const std::string& added = files[0].size() < files[1].size() ? files[0] : files[1];
            EXPECT_EQ(std::count(added.begin(), added.end(), '\n'), 2) << added;
            EXPECT_NE(added.find(c.badge), std::string::npos);
        }
    }
}

mode_t Mode(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Badge times stay private and where they were meant to go, whatever the
// umask; a missing folder is made, and what is wrong with a folder is said
// exactly.
TEST_F(OrvaneCtl, CollectKeepsItsFilesPrivateAndInItsFolder) {
    CChildProcess::Options open;
    open.beforeExec = [] { ::umask(0); };
    const std::string folder = Scratch("o%2ut");
    Result result = Run({"collect", folder}, open);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(folder + "/01-"), std::string::npos) << result.out;
    EXPECT_EQ(Mode(folder), 0700u);
    for (const std::string& name : FolderNames(folder)) {
        EXPECT_EQ(Mode(folder + "/" + name), 0600u) << name;
    }
    EXPECT_EQ(Run({"records", "-o", Scratch("records.txt")}, open).status, 0);
    EXPECT_EQ(Mode(Scratch("records.txt")), 0600u);

    // A planted log link is not followed: the file does not count and the
    // records stay. A temporary file a killed run left goes, others stay.
    for (const std::string& name : FolderNames(folder)) {
        ::unlink((folder + "/" + name).c_str());
    }
    ASSERT_EQ(::symlink(Scratch("elsewhere").c_str(), (folder + "/collect.log").c_str()), 0);
    WriteFile(folder + "/.01-20260101-000000.txt.Ab12Cd", "01.01.26 ...");
    WriteFile(folder + "/.hidden", "");
    result = Run({"collect", folder, "--clear"});
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find("collect.log ist ein symbolischer Verweis"), std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(Scratch("elsewhere")));
    EXPECT_EQ(FolderNames(folder),
              (std::vector<std::string>{".hidden", "collect.lock", "collect.log"}));
    EXPECT_EQ(m_emulator.RecordCount(), kRecords);
    ::unlink((folder + "/collect.log").c_str());

    // A linked folder is followed only when the link is root's or this user's.
    ASSERT_EQ(::symlink(folder.c_str(), Scratch("link").c_str()), 0);
    EXPECT_EQ(Run({"collect", Scratch("link")}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(folder + "/collect.log"));
    if (::geteuid() == 0 && ::lchown(Scratch("link").c_str(), 65534, 65534) == 0) {
        result = Run({"collect", Scratch("link")});
        EXPECT_EQ(result.status, 5);
        EXPECT_NE(result.err.find("weder root noch diesem Benutzer"), std::string::npos)
            << result.err;
    }

    // A log field never splits the line.
    EXPECT_EQ(Run({"collect", folder, "--port", "/dev/orvane\ttest\nmissing"}, {}, false).status,
              3);
    const std::string log = ReadFile(folder + "/collect.log");
    const std::string last = log.substr(log.rfind('\n', log.size() - 2) + 1);
    EXPECT_EQ(std::count(last.begin(), last.end(), '\t'), 6) << last;
    EXPECT_NE(last.find("/dev/orvane test missing\t"), std::string::npos) << last;

    WriteFile(Scratch("file"), "");
    struct Wrong {
        std::string folder;
        std::string said;
    };
    for (const Wrong& wrong :
         std::vector<Wrong>{{Scratch("none/out"), Scratch("none/out") +
                                                      " gibt es nicht, und den Ordner "
                                                      "darüber auch nicht: " +
                                                      Scratch("none") + " fehlt."},
                            {Scratch("file"), Scratch("file") + " ist kein Ordner."},
                            {Scratch("file/out"), Scratch("file") + " ist kein Ordner."}}) {
        result = Run({"collect", wrong.folder});
        EXPECT_EQ(result.status, 5);
        EXPECT_NE(result.err.find(wrong.said), std::string::npos) << result.err;
    }
}

TEST_F(OrvaneCtl, ASecondCollectOnTheSameFolderIsRefused) {
    ::mkdir(Scratch("out").c_str(), 0755);
    const int fd = ::open(Scratch("out/collect.lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    ASSERT_EQ(::write(fd, "4711\n", 5), 5);
    const Result result = Run({"collect", Scratch("out")});
    ::close(fd);
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find("PID 4711"), std::string::npos) << result.err;
    EXPECT_TRUE(m_emulator.Requests().empty());
}

}  // namespace
