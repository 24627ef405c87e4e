#pragma once

#include <cstdint>
#include <string>

// A serial port offered on the network, written as the Linux serial world
// writes it: "rfc2217://HOST:PORT" (Telnet with the COM port option: this
// side sets the line) or "socket://HOST:PORT" (raw TCP: the server's port
// has its line settings). HOST is a name, an IPv4 address or an IPv6
// address in brackets.
struct CNetAddress {
    enum class Kind { Rfc2217, Socket };

    Kind kind = Kind::Socket;
    std::string host;  // without brackets
    uint16_t port = 0;

    // Whether text is meant as a network link (its scheme), well-formed or not.
    static bool IsNetworkLink(const std::string& text);
    // False (address unchanged) for anything but a well-formed address.
    static bool Parse(const std::string& text, CNetAddress& address);
    // The address in its written form, brackets around an IPv6 host.
    std::string ToString() const;
};
