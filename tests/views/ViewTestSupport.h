#pragma once

#include <QString>
#include <QTemporaryDir>

#include "link/DeviceEntries.h"
#include "shell/SettingsDeviceEntries.h"
#include "tests/link/ftd2xx/FakeFtd2xxControl.h"
#include "tools/emulator/ReaderEmulator.h"

// A settings store of its own in a temporary folder, which also backs the
// COM table's "Devices" entries, for one test.
class CViewTestSettings {
public:
    CViewTestSettings();
    ~CViewTestSettings();

private:
    QTemporaryDir m_dir;
    CSettingsDeviceEntries m_entries;
};

// An emulated reader entered in the store as COM40, with "Port" set up for
// it and a reply time-out of 100 ms.
class CViewEmulator {
public:
    explicit CViewEmulator(ReaderModel model = ReaderModel::Basic, unsigned records = 0);
    bool Start();
    CReaderEmulator m_emulator;
};

// The stand-in D2XX library beside the test program, for adapters served on
// pseudo-terminals. Usable() is false when it was not built.
class CStandInAdapters {
public:
    CStandInAdapters();
    ~CStandInAdapters();
    bool Usable() const { return m_add != nullptr && m_reset != nullptr; }
    void Add(const char* serial, const std::string& portPath);

private:
    void* m_module = nullptr;
    PFN_FakeFtd2xx_AddAdapter m_add = nullptr;
    PFN_FakeFtd2xx_Reset m_reset = nullptr;
};
