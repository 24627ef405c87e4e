#include "link/TcpConnections.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kEstablished = "01";

// An address as the kernel prints it: each 32-bit word of the address in
// memory as eight hexadecimal digits, then ':' and the port in four.
std::string KernelForm(const void* bytes, size_t words, uint16_t port) {
    std::string text;
    char word[16];
    for (size_t i = 0; i < words; ++i) {
        uint32_t value = 0;
        std::memcpy(&value, static_cast<const char*>(bytes) + i * 4, 4);
        std::snprintf(word, sizeof word, "%08X", value);
        text += word;
    }
    std::snprintf(word, sizeof word, ":%04X", port);
    return text + word;
}

// The established connections of one table whose remote end is remote.
void Collect(const std::string& table, const std::string& remote,
             std::vector<std::string>& sockets) {
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);  // the heading
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string slot, local, peer, state, queues, timer, retransmits, uid, timeout, inode;
        fields >> slot >> local >> peer >> state >> queues >> timer >> retransmits >> uid >>
            timeout >> inode;
        if (peer == remote && state == kEstablished && !inode.empty() && inode != "0") {
            sockets.push_back("socket:[" + inode + "]");
        }
    }
}

}  // namespace

std::vector<std::string> TcpSocketsTo(const CNetAddress& address, const std::string& procRoot) {
    std::vector<std::string> sockets;
    in_addr v4{};
    in6_addr v6{};
    if (::inet_pton(AF_INET, address.host.c_str(), &v4) == 1) {
        Collect(procRoot + "/net/tcp", KernelForm(&v4, 1, address.port), sockets);
        // A socket of the IPv6 family reaches an IPv4 host as ::ffff:a.b.c.d.
        std::memset(&v6, 0, sizeof v6);
        v6.s6_addr[10] = v6.s6_addr[11] = 0xFF;
        std::memcpy(&v6.s6_addr[12], &v4, 4);
        Collect(procRoot + "/net/tcp6", KernelForm(&v6, 4, address.port), sockets);
    } else if (::inet_pton(AF_INET6, address.host.c_str(), &v6) == 1) {
        Collect(procRoot + "/net/tcp6", KernelForm(&v6, 4, address.port), sockets);
    }
    return sockets;
}
