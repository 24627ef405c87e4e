#include "link/ComTable.h"

#include <strings.h>

#include <cctype>
#include <set>

CComTable::CComTable(IDeviceEntries* entries, std::string sysRoot, std::string devRoot)
    : m_pEntries(entries), m_scanner(std::move(sysRoot), std::move(devRoot)) {
    if (m_pEntries != nullptr) {
        for (const auto& [number, path] : m_pEntries->Entries()) {
            if (number >= 1 && number <= kMaxNumber && !path.empty()) {
                m_entries[number] = path;
            }
        }
    }
}

int CComTable::NumberOfName(const std::string& name) {
    size_t p = name.rfind("\\\\.\\", 0) == 0 ? 4 : 0;
    if (name.size() < p + 4 || ::strncasecmp(name.c_str() + p, "com", 3) != 0) {
        return 0;
    }
    p += 3;
    int number = 0;
    for (; p < name.size() && std::isdigit(static_cast<unsigned char>(name[p])); ++p) {
        number = number * 10 + (name[p] - '0');
        if (number > kMaxNumber) {
            return 0;
        }
    }
    return number;
}

bool CComTable::Resolve(int number, std::string& path) {
    if (number < 1 || number > kMaxNumber) {
        return false;
    }
    auto entry = m_entries.find(number);
    if (entry == m_entries.end() && m_scanner.IsUartPresent(number - 1)) {
        path = m_scanner.DevRoot() + "/ttyS" + std::to_string(number - 1);
        return true;
    }
    if (entry == m_entries.end() && !m_bNumbered) {
        std::vector<CTtyPort> ports;
        if (m_scanner.Scan(ports)) {
            Number(ports);
        }
        entry = m_entries.find(number);
    }
    if (entry == m_entries.end()) {
        return false;
    }
    path = entry->second;
    return true;
}

int CComTable::EntryFor(const CTtyPort& port) const {
    for (const auto& [number, path] : m_entries) {
        if (path == port.stablePath || SamePath(path, port.devicePath)) {
            return number;
        }
    }
    return 0;
}

std::vector<int> CComTable::Number(const std::vector<CTtyPort>& ports) {
    m_bNumbered = true;
    std::set<int> held;
    for (const auto& entry : m_entries) {
        held.insert(entry.first);
    }
    for (const CTtyPort& port : ports) {
        if (port.ttySIndex >= 0) {
            held.insert(port.ttySIndex + 1);
        }
    }
    std::vector<int> numbers;
    for (const CTtyPort& port : ports) {
        int number = 0;
        if (port.ttySIndex >= 0) {
            const int k1 = port.ttySIndex + 1;
            number = (k1 <= kMaxNumber && m_entries.count(k1) == 0) ? k1 : EntryFor(port);
        } else if ((number = EntryFor(port)) == 0) {
            for (int n = kFirstFreeNumber; n <= kMaxNumber && number == 0; ++n) {
                if (held.count(n) == 0) {
                    number = n;
                }
            }
            if (number != 0) {
                held.insert(number);
                m_entries[number] = port.stablePath;
                if (m_pEntries != nullptr) {
                    m_pEntries->WriteEntry(number, port.stablePath);
                }
            }
        }
        numbers.push_back(number);
    }
    return numbers;
}

int CComTable::NumberOfAddress(const CNetAddress& address) const {
    for (const auto& [number, path] : m_entries) {
        CNetAddress entered;
        if (CNetAddress::Parse(path, entered) && entered.kind == address.kind &&
            entered.port == address.port &&
            ::strcasecmp(entered.host.c_str(), address.host.c_str()) == 0) {
            return number;
        }
    }
    return 0;
}

int CComTable::FreeNumber() {
    std::vector<CTtyPort> ports;
    if (!m_bNumbered && m_scanner.Scan(ports)) {
        Number(ports);
    }
    for (int n = kFirstFreeNumber; n <= kMaxNumber; ++n) {
        if (m_entries.count(n) == 0 && !m_scanner.IsUartPresent(n - 1)) {
            return n;
        }
    }
    return 0;
}

bool CComTable::Enter(int number, const std::string& path) {
    if (m_pEntries == nullptr || number < 1 || number > kMaxNumber) {
        return false;
    }
    m_pEntries->WriteEntry(number, path);
    const std::map<int, std::string> stored = m_pEntries->Entries();
    const auto it = stored.find(number);
    if (it == stored.end() || it->second != path) {
        return false;
    }
    m_entries[number] = path;
    return true;
}
