#include "Ser2net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using namespace std::chrono_literals;

const char* Program() {
    static const char* const kCandidates[] = {"/usr/sbin/ser2net", "/usr/bin/ser2net",
                                              "/usr/local/sbin/ser2net"};
    for (const char* path : kCandidates) {
        if (::access(path, X_OK) == 0) {
            return path;
        }
    }
    return nullptr;
}

// A port that was free a moment ago; the socket holding it is returned too,
// so that two calls give two ports.
uint16_t TakePort(int& fd) {
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

// Whether /proc/net/tcp lists a listening socket on the local port.
bool ListensOn(uint16_t port) {
    std::ifstream table("/proc/net/tcp");
    std::string line;
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot;
        std::string local;
        std::string remote;
        std::string state;
        fields >> slot >> local >> remote >> state;
        if (state == "0A" && local.size() > 5 && local.substr(local.size() - 5) == wanted) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool CSer2net::Installed() {
    return Program() != nullptr;
}

uint16_t CSer2net::FreePort() {
    int fd = -1;
    const uint16_t port = TakePort(fd);
    if (fd >= 0) {
        ::close(fd);
    }
    return port;
}

CSer2net::CSer2net(const std::string& device) : m_strDevice(device) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/orvane-ser2net-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_strFolder = pattern;
    }
    PickPorts();
}

void CSer2net::PickPorts() {
    int raw = -1;
    int telnet = -1;
    m_rawPort = TakePort(raw);
    m_telnetPort = TakePort(telnet);
    for (int fd : {raw, telnet}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

CSer2net::~CSer2net() {
    Stop();
    if (!m_strFolder.empty()) {
        for (const char* name : {"/ser2net.yaml", "/ser2net.log", "/ser2net.pid"}) {
            ::unlink((m_strFolder + name).c_str());
        }
        ::rmdir(m_strFolder.c_str());
    }
}

bool CSer2net::Start() {
    // Another test may take a port between its pick and the daemon's start:
    // the first start tries other ports then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (Launch()) {
            m_bStarted = true;
            return true;
        }
        if (m_bStarted) {
            return false;  // a restart keeps its ports
        }
        PickPorts();
    }
    return false;
}

bool CSer2net::Launch() {
    const char* program = Program();
    if (program == nullptr || m_strFolder.empty() || m_rawPort == 0 || m_telnetPort == 0) {
        return false;
    }
    Stop();
    const std::string config = m_strFolder + "/ser2net.yaml";
    {
        std::ofstream yaml(config);
        for (const auto& [name, accepter, port] :
             {std::tuple{"raw", "tcp", m_rawPort},
              std::tuple{"rfc2217", "telnet(rfc2217),tcp", m_telnetPort}}) {
            yaml << "connection: &" << name << "\n"
                 << "  accepter: " << accepter << ",127.0.0.1," << port << "\n"
                 << "  connector: serialdev," << m_strDevice << ",19200n81,local\n";
        }
    }
    // Foreground, debug output into the log, no UUCP lock files.
    const std::string log = m_strFolder + "/ser2net.log";
    const std::string pid = m_strFolder + "/ser2net.pid";
    std::vector<std::string> args = {program, "-n", "-d", "-u", "-P", pid, "-c", config};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    m_pid = ::fork();
    if (m_pid == 0) {
        // Only async-signal-safe calls here: the test program has threads.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::dup2(fd, STDOUT_FILENO);
            ::dup2(fd, STDERR_FILENO);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (m_pid < 0) {
        return false;
    }
    const auto limit = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < limit) {
        if (Listening()) {
            return true;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    Stop();
    return false;
}

bool CSer2net::Listening() const {
    return ListensOn(m_rawPort) && ListensOn(m_telnetPort);
}

void CSer2net::Stop() {
    if (m_pid <= 0) {
        return;
    }
    ::kill(m_pid, SIGTERM);
    const auto limit = std::chrono::steady_clock::now() + 3s;
    int status = 0;
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > limit) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(5ms);
    }
    m_pid = -1;
}

std::string CSer2net::SocketAddress() const {
    return "socket://127.0.0.1:" + std::to_string(m_rawPort);
}

std::string CSer2net::Rfc2217Address() const {
    return "rfc2217://127.0.0.1:" + std::to_string(m_telnetPort);
}

std::string CSer2net::Log() const {
    std::ifstream file(m_strFolder + "/ser2net.log");
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
