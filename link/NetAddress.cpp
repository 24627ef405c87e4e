#include "link/NetAddress.h"

#include <strings.h>

#include <cctype>

namespace {

constexpr const char* kRfc2217Scheme = "rfc2217://";
constexpr const char* kSocketScheme = "socket://";

bool HasScheme(const std::string& text, const char* scheme) {
    const size_t length = std::char_traits<char>::length(scheme);
    return text.size() >= length && ::strncasecmp(text.c_str(), scheme, length) == 0;
}

// Letters, digits, '-', '.' and '_': a host name or an IPv4 address.
bool IsNameHost(const std::string& host) {
    if (host.empty() || host.size() > 253) {
        return false;
    }
    for (const char c : host) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.' && c != '_') {
            return false;
        }
    }
    return true;
}

// Hexadecimal digits, ':' and '.' (an embedded IPv4 address); the resolver
// judges the rest.
bool IsIpv6Host(const std::string& host) {
    if (host.find(':') == std::string::npos) {
        return false;
    }
    for (const char c : host) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') {
            return false;
        }
    }
    return true;
}

bool ParsePort(const std::string& text, uint16_t& port) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    unsigned value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) {
        return false;
    }
    port = static_cast<uint16_t>(value);
    return true;
}

}  // namespace

bool CNetAddress::IsNetworkLink(const std::string& text) {
    return HasScheme(text, kRfc2217Scheme) || HasScheme(text, kSocketScheme);
}

bool CNetAddress::Parse(const std::string& text, CNetAddress& address) {
    CNetAddress parsed;
    std::string rest;
    if (HasScheme(text, kRfc2217Scheme)) {
        parsed.kind = Kind::Rfc2217;
        rest = text.substr(std::char_traits<char>::length(kRfc2217Scheme));
    } else if (HasScheme(text, kSocketScheme)) {
        parsed.kind = Kind::Socket;
        rest = text.substr(std::char_traits<char>::length(kSocketScheme));
    } else {
        return false;
    }
    std::string portText;
    if (!rest.empty() && rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':') {
            return false;
        }
        parsed.host = rest.substr(1, close - 1);
        portText = rest.substr(close + 2);
        if (!IsIpv6Host(parsed.host)) {
            return false;
        }
    } else {
        const size_t colon = rest.find(':');
        if (colon == std::string::npos) {
            return false;
        }
        parsed.host = rest.substr(0, colon);
        portText = rest.substr(colon + 1);
        if (!IsNameHost(parsed.host)) {
            return false;
        }
    }
    if (!ParsePort(portText, parsed.port)) {
        return false;
    }
    address = parsed;
    return true;
}

std::string CNetAddress::ToString() const {
    const std::string shownHost = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return (kind == Kind::Rfc2217 ? kRfc2217Scheme : kSocketScheme) + shownHost + ":" +
           std::to_string(port);
}
