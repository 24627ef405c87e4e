#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "ProtocolTestSupport.h"
#include "protocol/Trace.h"

namespace {

// How the trace socket is broken.
enum class Viewer {
    NeverReads,     // a socket that exists but nobody reads: its queue fills up
    StaleSocket,    // a socket file whose owner has gone
    StaleFile,      // a plain file at the socket's path
    LockedFolder,   // the runtime folder allows nobody in
    MissingFolder,  // the runtime folder does not exist
    LongPath,       // the runtime folder's path is too long for a socket address
    OtherOwner      // a socket that belongs to another user (needs root to set up)
};

int BoundSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof addr.sun_path) {
        return -1;
    }
    path.copy(addr.sun_path, path.size());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// A record read-out of about 200 KB through the emulator while the trace
// socket is broken the chosen way.
class TraceFault : public ::testing::TestWithParam<Viewer> {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            m_oldRuntimeDir = old;
        }
        char dir[] = "/tmp/orvane-trace-fault-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        m_runtimeDir = m_dir;
        ASSERT_NO_FATAL_FAILURE(Break(GetParam()));
        setenv("XDG_RUNTIME_DIR", m_runtimeDir.c_str(), 1);
        SetUserInterface(&m_ui);
    }
    void TearDown() override {
        SetUserInterface(nullptr);
        if (m_oldRuntimeDir) {
            setenv("XDG_RUNTIME_DIR", m_oldRuntimeDir->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        if (m_socket >= 0) {
            close(m_socket);
        }
        chmod(m_dir.c_str(), 0700);
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    void Break(Viewer viewer) {
        const std::string path = m_dir + "/MeridelTracer";
        switch (viewer) {
            case Viewer::NeverReads:
            case Viewer::OtherOwner:
                m_socket = BoundSocket(path);
                ASSERT_GE(m_socket, 0);
                if (viewer == Viewer::OtherOwner) {
                    if (getuid() != 0) {
                        GTEST_SKIP() << "giving a socket to another user needs root";
                    }
                    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
                }
                break;
            case Viewer::StaleSocket: {
                // Closed at once: the file stays, nobody is behind it.
                const int fd = BoundSocket(path);
                ASSERT_GE(fd, 0);
                close(fd);
                break;
            }
            case Viewer::StaleFile:
                std::ofstream(path) << "left over";
                break;
            case Viewer::LockedFolder:
                ASSERT_EQ(chmod(m_dir.c_str(), 0), 0);
                break;
            case Viewer::MissingFolder:
                m_runtimeDir = m_dir + "/gone";
                break;
            case Viewer::LongPath:
                m_runtimeDir = m_dir + "/" + std::string(120, 'd');
                break;
        }
    }

    CCountingUserInterface m_ui;
    std::optional<std::string> m_oldRuntimeDir;
    std::string m_dir;
    std::string m_runtimeDir;
    int m_socket = -1;
};

TEST_P(TraceFault, ARecordReadOutIsNeverHeldUpByTheTrace) {
    std::string records;
    for (int i = 0; records.size() < 200 * 1024; ++i) {
        records += std::to_string(100000 + i) + " 12.03.26 08:15 0012AB34\r\n";
    }
    records += "END\r\n";
    CEmulatorLink link(EmulatorOptions{}, 80);
    ASSERT_TRUE(link.Ok());
    link.emulator.SetResponder([records](const std::string&) { return Reply{{Ms(0), records}}; });
    const CStopwatch clock;
    std::string text;
    EXPECT_TRUE(link.protocol.ReadRecords(text));
    EXPECT_LT(clock.Elapsed(), 20000);
    EXPECT_EQ(text, records);
    link.emulator.SetResponder({});

    // A socket of another user is never written to.
    if (GetParam() == Viewer::OtherOwner) {
        char piece[4];
        EXPECT_LT(recv(m_socket, piece, sizeof piece, MSG_DONTWAIT), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(BrokenViewer, TraceFault,
                         ::testing::Values(Viewer::NeverReads, Viewer::StaleSocket,
                                           Viewer::StaleFile, Viewer::LockedFolder,
                                           Viewer::MissingFolder, Viewer::LongPath,
                                           Viewer::OtherOwner));

}  // namespace
