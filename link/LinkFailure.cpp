#include "link/LinkFailure.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "link/DeviceHolder.h"
#include "link/GroupAccess.h"

namespace {

std::string ErrorText(int error) {
    char buffer[256];
    return ::strerror_r(error, buffer, sizeof buffer);
}

const char* SettingName(NetSetting setting) {
    switch (setting) {
        case NetSetting::None:
            break;
        case NetSetting::ComPortOption:
            return "the COM port option";
        case NetSetting::BaudRate:
            return "the baud rate";
        case NetSetting::DataSize:
            return "the data size";
        case NetSetting::Parity:
            return "the parity";
        case NetSetting::StopSize:
            return "the stop bits";
        case NetSetting::FlowControl:
            return "the flow control";
    }
    return "";
}

std::string ModeText(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%03o", mode & 0777);
    return text;
}

}  // namespace

LinkFailureKind CLinkFailure::KindOf(int error) {
    switch (error) {
        case 0:
            return LinkFailureKind::None;
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
        case EIO:
            return LinkFailureKind::NotPresent;
        case EACCES:
        case EPERM:
        case EROFS:
            return LinkFailureKind::PermissionDenied;
        case EBUSY:
            return LinkFailureKind::InUse;
        case ENOTTY:
        case EISDIR:
            return LinkFailureKind::NotSerialPort;
        case ELIBACC:
            return LinkFailureKind::UsbLibraryMissing;
        default:
            return LinkFailureKind::Other;
    }
}

CLinkFailure CLinkFailure::ForDevice(int error, const std::string& port, const std::string& path) {
    CLinkFailure failure;
    failure.kind = KindOf(error);
    failure.error = error;
    failure.port = port;
    char resolved[PATH_MAX];
    failure.device = ::realpath(path.c_str(), resolved) != nullptr ? resolved : path;
    if (failure.kind == LinkFailureKind::PermissionDenied) {
        const CGroupAccess access = CGroupAccess::Of(path);
        failure.group = access.group;
        failure.owner = access.owner;
        failure.mode = access.mode;
        failure.groupGrantsAccess = access.groupGrantsAccess;
        failure.userName = access.userName;
        failure.userInGroup = access.userInGroup;
        failure.sessionInGroup = access.sessionInGroup;
    } else if (failure.kind == LinkFailureKind::InUse) {
        const auto holders = FindDeviceHolders({path});
        if (const auto it = holders.find(path); it != holders.end() && !it->second.empty()) {
            failure.holderPid = it->second.front().pid;
            failure.holderName = it->second.front().name;
            failure.holderLocks = it->second.front().locks;
        }
    }
    return failure;
}

std::string CLinkFailure::DebugText() const {
    std::string text = "Open " + port;
    if (!device.empty()) {
        text += " (" + device + ")";
    }
    switch (kind) {
        case LinkFailureKind::None:
            return text + ": opened";
        case LinkFailureKind::NotPresent:
            text += " failed: not present";
            break;
        case LinkFailureKind::PermissionDenied:
            text += " failed: permission denied; " + (group.empty() ? "?" : owner + ":" + group) +
                    " mode " + ModeText(mode) + (groupGrantsAccess ? "" : " (no group access)") +
                    ", user " + userName + (userInGroup ? " is" : " is not") +
                    " a member, the session" + (sessionInGroup ? " has" : " lacks") + " it";
            break;
        case LinkFailureKind::InUse:
            text += " failed: in use";
            if (holderPid != 0) {
                text += (holderLocks ? " by " : ", opened by ") + holderName + " (PID " +
                        std::to_string(holderPid) + ")";
            }
            break;
        case LinkFailureKind::NotSerialPort:
            text += " failed: not a serial port";
            break;
        case LinkFailureKind::UsbLibraryMissing:
            text += " failed: libftd2xx.so cannot be loaded";
            break;
        case LinkFailureKind::ConfigurationRefused:
            text += ": line settings refused by " + step;
            if (setting != NetSetting::None) {
                text += std::string("; the server ") +
                        (unanswered ? "did not answer " : "refused ") + SettingName(setting);
                if (!unanswered && setting != NetSetting::ComPortOption) {
                    text += " " + std::to_string(requested) + ", it holds " + std::to_string(held);
                }
            }
            break;
        case LinkFailureKind::Other:
            text += " failed";
            break;
        case LinkFailureKind::BadAddress:
            text += " failed: not a network address";
            break;
        case LinkFailureKind::NameNotResolved:
            text += " failed: host name not resolved";
            break;
        case LinkFailureKind::ConnectionRefused:
            text += " failed: connection refused";
            break;
        case LinkFailureKind::NoAnswer:
            text += " failed: no answer from the host";
            break;
        case LinkFailureKind::ServerBusy:
            text += " failed: the server serves another client";
            break;
        case LinkFailureKind::ServerClosed:
            text += " failed: the server closed the connection";
            break;
    }
    if (!detail.empty()) {
        text += " \"" + detail + "\"";
    }
    return error != 0 ? text + " (" + ErrorText(error) + ")" : text;
}
