#include "link/PortDiscovery.h"

#include <strings.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <map>
#include <set>

#include "link/ComBackend.h"
#include "link/ComTable.h"
#include "link/DeviceEntries.h"
#include "link/NetAddress.h"
#include "link/TcpConnections.h"
#include "link/TtyScanner.h"

namespace {

constexpr const char* kDevicePrefix = "\\\\.\\COM";
constexpr size_t kNumberOffset = 7;  // the digits after "\\.\COM"

std::string PortEntry(int number, const std::string& description) {
    std::string entry = kDevicePrefix + std::to_string(number);
    if (::strncasecmp(description.c_str(), "Meridel", 7) == 0) {
        entry += " [" + description + "]";
    }
    return entry;
}

unsigned long NumberOf(const std::string& entry) {
    unsigned long value = 0;
    for (size_t i = kNumberOffset;
         i < entry.size() && std::isdigit(static_cast<unsigned char>(entry[i])); ++i) {
        value = value * 10 + static_cast<unsigned long>(entry[i] - '0');
        if (value > 0xFFFFFFFFul) {
            break;
        }
    }
    return value;
}

}  // namespace

CPortDiscovery::CPortDiscovery(std::string sysRoot, std::string devRoot)
    : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)) {}

bool CPortDiscovery::EnumerateComPorts(std::vector<std::string>& list) const {
    if (EnumeratePortClass(list)) {
        return true;
    }
    list.clear();
    Probe(list);
    return true;
}

bool CPortDiscovery::EnumeratePortClass(std::vector<std::string>& list) const {
    list.clear();
    std::vector<CTtyPort> ports;
    if (!CTtyScanner(m_sysRoot, m_devRoot).Scan(ports)) {
        return false;
    }
    CComTable table(DeviceEntries(), m_sysRoot, m_devRoot);
    const std::vector<int> numbers = table.Number(ports);
    std::set<int> listed;
    for (size_t i = 0; i < ports.size(); ++i) {
        if (numbers[i] != 0 && listed.insert(numbers[i]).second) {
            InsertPortSorted(list, PortEntry(numbers[i], ports[i].description));
        }
    }
    for (const auto& [number, path] : table.Entries()) {
        if (listed.count(number) == 0 &&
            (IsCharacterDevice(path) || CNetAddress::IsNetworkLink(path))) {
            listed.insert(number);
            InsertPortSorted(list, PortEntry(number, {}));
        }
    }
    return true;
}

void CPortDiscovery::Probe(std::vector<std::string>& list) const {
    CComTable table(DeviceEntries(), m_sysRoot, m_devRoot);
    for (int n = 1; n <= CComTable::kMaxNumber; ++n) {
        std::string path;
        CComBackend port;
        if (!table.Resolve(n, path)) {
            continue;
        }
        if (CNetAddress::IsNetworkLink(path)) {
            list.push_back(kDevicePrefix + std::to_string(n));
        } else if (port.Open(path)) {
            port.Close();
            list.push_back(kDevicePrefix + std::to_string(n));
        }
    }
}

void CPortDiscovery::InsertPortSorted(std::vector<std::string>& list, const std::string& entry) {
    const unsigned long number = NumberOf(entry);
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (NumberOf(*it) > number) {
            list.insert(it, entry);
            return;
        }
    }
    list.push_back(entry);
}

std::vector<CPortFacts> CPortDiscovery::Describe(const std::vector<std::string>& entries) const {
    const CTtyScanner scanner(m_sysRoot, m_devRoot);
    std::vector<CTtyPort> ports;
    scanner.Scan(ports);
    CComTable table(DeviceEntries(), m_sysRoot, m_devRoot);
    const std::vector<int> numbers = table.Number(ports);
    std::map<int, const CTtyPort*> byNumber;
    for (size_t i = 0; i < ports.size(); ++i) {
        byNumber.emplace(numbers[i], &ports[i]);
    }
    const std::string byIdFolder = m_devRoot + "/serial/by-id/";

    std::vector<CPortFacts> facts;
    std::vector<std::string> devices;
    std::map<size_t, std::vector<std::string>> sockets;  // fact index -> its connections
    for (const std::string& entry : entries) {
        CPortFacts port;
        port.entry = entry;
        const int number = CComTable::NumberOfName(entry);
        std::string path;
        const auto entered = table.Entries().find(number);
        if (entry.rfind("USB: ", 0) == 0) {
            scanner.UsbDeviceBySerial(entry.substr(5), port.usb);
        } else if (entered != table.Entries().end() &&
                   CNetAddress::IsNetworkLink(entered->second)) {
            port.network = entered->second;
            CNetAddress address;
            if (CNetAddress::Parse(port.network, address)) {
                std::vector<std::string>& held = sockets[facts.size()];
                held = TcpSocketsTo(address);
                devices.insert(devices.end(), held.begin(), held.end());
            }
        } else if (const auto it = byNumber.find(number); number != 0 && it != byNumber.end()) {
            port.devicePath = it->second->devicePath;
            path = it->second->stablePath;
            port.driver = it->second->driver;
            port.usb = it->second->usb;
        } else if (table.Resolve(number, path)) {
            char resolved[PATH_MAX];
            port.devicePath = ::realpath(path.c_str(), resolved) != nullptr ? resolved : path;
        }
        if (path.rfind(byIdFolder, 0) == 0) {
            port.byId = path.substr(byIdFolder.size());
        }
        if (!port.devicePath.empty()) {
            devices.push_back(port.devicePath);
        }
        facts.push_back(std::move(port));
    }
    const auto holders = FindDeviceHolders(devices);
    for (CPortFacts& port : facts) {
        if (const auto it = holders.find(port.devicePath); it != holders.end()) {
            port.holder = it->second.front();
            port.others.assign(it->second.begin() + 1, it->second.end());
        }
    }
    for (const auto& [index, held] : sockets) {
        for (const std::string& socket : held) {
            const auto it = holders.find(socket);
            CDeviceHolder& holder = facts[index].holder;
            if (it != holders.end() && (holder.pid == 0 || it->second.front().pid < holder.pid)) {
                holder = it->second.front();
            }
        }
    }
    return facts;
}
