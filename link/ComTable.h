#pragma once

#include <map>
#include <string>
#include <vector>

#include "link/DeviceEntries.h"
#include "link/NetAddress.h"
#include "link/TtyScanner.h"

// Which device node a COM number stands for:
//  1. the "Devices" entry COM<n> (it wins over every rule below);
//  2. ttyS<n-1>, when a UART is there;
//  3. any other serial port (ttyUSB, ttyACM, ...) that no entry names gets
//     the lowest number from 3 up that no entry and no present ttyS holds,
//     written to "Devices" under its stable path, so that an adapter keeps
//     its number when it comes back as another ttyUSB<k>.
// The engine's open and the port discovery both use this class. The entries
// are read once, when the table is made.
class CComTable {
public:
    static constexpr int kFirstFreeNumber = 3;
    static constexpr int kMaxNumber = 255;

    explicit CComTable(IDeviceEntries* entries, std::string sysRoot = "/sys",
                       std::string devRoot = "/dev");

    // The device path of COM<number>. Without an entry or a ttyS, the ports
    // present are numbered first (rule 3). False: the number stands for
    // nothing.
    bool Resolve(int number, std::string& path);

    // The COM number of each port (0: none), numbering new ports (rule 3).
    // A ttyS<k> gets k+1 unless an entry holds that number.
    std::vector<int> Number(const std::vector<CTtyPort>& ports);

    const std::map<int, std::string>& Entries() const { return m_entries; }

    // The number of the entry that names this network address (scheme and
    // host in any letter case); 0 if none does.
    int NumberOfAddress(const CNetAddress& address) const;
    // The lowest number from 3 up that no entry and no present ttyS holds,
    // after numbering the ports present (rule 3), so that a new entry never
    // takes the number a plugged-in adapter is about to get; 0 if all are taken.
    int FreeNumber();
    // Writes the entry COM<number> = path; false if the store did not keep it.
    bool Enter(int number, const std::string& path);

    // "COM3", "\\.\COM12 [x]" -> 3, 12; 0 if the text is no COM name.
    static int NumberOfName(const std::string& name);

private:
    int EntryFor(const CTtyPort& port) const;

    IDeviceEntries* m_pEntries;
    std::map<int, std::string> m_entries;
    CTtyScanner m_scanner;
    bool m_bNumbered = false;
};
