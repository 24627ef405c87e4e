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
#include <filesystem>
#include <functional>
#include <regex>
#include <thread>

#include "CtlTestSupport.h"

using namespace std::chrono_literals;

namespace {

// Only the lock file and the log; no result, no temporary file.
void ExpectNoRecordFile(const std::string& folder) {
    for (const std::string& name : FolderNames(folder)) {
        EXPECT_TRUE(name == "collect.lock" || name == "collect.log") << name;
    }
}

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
}

// Whatever goes wrong before the clear, the reader keeps its records and no
// file appears under a final name.
TEST_F(OrvaneCtl, CollectFaultsKeepTheBufferAndLeaveNoFile) {
    const std::string records = Run({"records"}).out;
    const std::string report = m_emulator.ParameterReport();
    struct Fault {
        const char* name;
        int status;
        std::function<void()> arrange;
        std::function<void()> beforeExec;
    };
    // Set when the records are asked for: the byte count after which the line goes.
    std::atomic<std::size_t> dropAt{0};
    const std::vector<Fault> faults{
        {"line drops mid read-out",
         4,
         [&] {
             // The first half of the records, then the line goes.
             m_emulator.SetResponder([&](const std::string& request) -> Reply {
                 if (request != "L") {
                     return {{0ms, report}};
                 }
                 dropAt = m_emulator.BytesSent() + records.size() / 2;
                 return {{0ms, records.substr(0, records.size() / 2)},
                         {3s, records.substr(records.size() / 2)}};
             });
         },
         {}},
        {"read-out without END", 4, [&] { m_emulator.SetFault(EmulatorFault::MissingEnd); }, {}},
        {"folder not writable", 5, [] {},
         [] {
             // Root writes anywhere unless it gives up that capability.
             if (::geteuid() == 0 && ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0) {
                 ::_exit(126);
             }
         }},
        {"file size limit", 5, [] {},
         [] {
             const rlimit limit{300, 300};
             ::setrlimit(RLIMIT_FSIZE, &limit);
         }},
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
        dropAt = 0;
        std::atomic<bool> ended{false};
        std::thread drop([&] {
            while (!ended && (dropAt == 0 || m_emulator.BytesSent() < dropAt)) {
                std::this_thread::sleep_for(1ms);
            }
            if (dropAt != 0) {
                m_emulator.HangUp();
            }
        });
        CChildProcess::Options options;
        options.beforeExec = fault.beforeExec;
        const Result result = Run({"collect", folder, "--clear"}, options);
        ended = true;
        drop.join();
        EXPECT_EQ(result.status, fault.status) << result.err;
        EXPECT_FALSE(result.err.empty());
        EXPECT_EQ(m_emulator.RecordCount(), kRecords);
        EXPECT_EQ(Sent('C'), 0u);
        ExpectNoRecordFile(folder);

        m_emulator.SetResponder({});
        m_emulator.SetFault(EmulatorFault::None);
        ::chmod(folder.c_str(), 0755);
        std::filesystem::remove_all(folder);
        if (m_emulator.HungUp()) {
            m_emulator.Stop();
            ASSERT_TRUE(m_emulator.Start());
        }
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
