#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

// The ser2net daemon in front of a device (the emulator's pseudo-terminal),
// with a raw TCP and an RFC 2217 accepter on free local ports. It runs in
// the foreground with its configuration and log in a temporary folder of
// its own, and is stopped with the object.
class CSer2net {
public:
    static bool Installed();

    explicit CSer2net(const std::string& device);
    ~CSer2net();

    CSer2net(const CSer2net&) = delete;
    CSer2net& operator=(const CSer2net&) = delete;

    // Starts the daemon (again, on the same ports) and returns once both
    // accepters listen; false if it did not get there.
    bool Start();
    void Stop();

    std::string SocketAddress() const;   // socket://127.0.0.1:<raw port>
    std::string Rfc2217Address() const;  // rfc2217://127.0.0.1:<telnet port>
    std::string Log() const;             // what the daemon wrote

    // A local port on which nothing listens, for connections that are refused.
    static uint16_t FreePort();

private:
    void PickPorts();
    bool Launch();
    bool Listening() const;

    std::string m_strDevice;
    std::string m_strFolder;
    uint16_t m_rawPort = 0;
    uint16_t m_telnetPort = 0;
    pid_t m_pid = -1;
    bool m_bStarted = false;
};
