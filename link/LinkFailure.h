#pragma once

#include <cstdint>
#include <string>

// Why a port did not open (or opened without its line settings), with the
// facts a technician needs to act on it. The engine gathers these when an
// open fails; the wording for the operator is made from them elsewhere.
enum class LinkFailureKind {
    None,
    NotPresent,            // no such device: not plugged in, or the COM number names nothing
    PermissionDenied,      // the device's permissions refuse this user
    InUse,                 // another program holds the port
    NotSerialPort,         // the path exists but is no terminal device
    UsbLibraryMissing,     // libftd2xx.so could not be loaded
    ConfigurationRefused,  // opened, but the line settings were refused
    Other,
    // A port on the network (the device is its address):
    BadAddress,         // the address is not of the form rfc2217://HOST:PORT or socket://HOST:PORT
    NameNotResolved,    // the host name is not known
    ConnectionRefused,  // nothing serves the port on that host
    NoAnswer,           // the host did not answer within the time-out
    ServerBusy,         // the server serves another client and turned this one away
    ServerClosed,       // the server ended the connection at once
};

// A line setting that a network server was asked for.
enum class NetSetting { None, ComPortOption, BaudRate, DataSize, Parity, StopSize, FlowControl };

struct CLinkFailure {
    LinkFailureKind kind = LinkFailureKind::None;
    int error = 0;       // the errno value behind it, 0 if none
    std::string port;    // "COM<n>", or an FTDI adapter's serial number
    bool usb = false;    // port is an FTDI adapter's serial number
    std::string device;  // the device node it stands for, symbolic links followed; may be empty
    std::string step;    // ConfigurationRefused: the operation that failed ("SetCommState()")

    // PermissionDenied: the device's owner, group and permission bits, whether
    // its group may read and write it (and is not root's), whether the user is
    // a member of that group, and whether the running session has it.
    std::string group;
    std::string owner;
    unsigned mode = 0;
    bool groupGrantsAccess = false;
    bool userInGroup = false;
    bool sessionInGroup = false;
    std::string userName;

    // InUse: the program that holds the device, where it could be found (pid 0:
    // not found); holderLocks: it holds the device's lock, else it merely has it open.
    int holderPid = 0;
    std::string holderName;
    bool holderLocks = false;

    // Network ports: what the other side said (the server's text before it
    // closed, the resolver's message), and for ConfigurationRefused the
    // setting, the value asked for and the one the server holds instead, in
    // the COM port option's codes, or that it did not answer at all.
    std::string detail;
    NetSetting setting = NetSetting::None;
    uint32_t requested = 0;
    uint32_t held = 0;
    bool unanswered = false;

    bool Failed() const { return kind != LinkFailureKind::None; }

    // The kind an errno value of a failed open stands for.
    static LinkFailureKind KindOf(int error);
    // Gathers the facts of a failed open of a device node: its group and the
    // user's membership when access was denied, its holder when it is busy.
    static CLinkFailure ForDevice(int error, const std::string& port, const std::string& path);
    // One line for the debug output, in plain English.
    std::string DebugText() const;
};
