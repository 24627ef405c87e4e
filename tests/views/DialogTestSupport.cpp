#include "DialogTestSupport.h"

#include <QCoreApplication>

void CTestUserInterface::PumpMessages() {
    QCoreApplication::processEvents();
}

EmulatorOptions FastEmulatorOptions(ReaderModel model) {
    EmulatorOptions options;
    options.model = model;
    options.progressInterval = std::chrono::microseconds(100);
    options.resetDelay = std::chrono::milliseconds(20);
    options.faultPause = std::chrono::milliseconds(400);
    return options;
}

CEmulatedReader::CEmulatedReader(EmulatorOptions options) : m_emulator(options) {}

CEmulatedReader::~CEmulatedReader() {
    m_reader.m_pfnByteHook = nullptr;
    m_reader.Close();
    SetDeviceEntries(nullptr);
    m_emulator.Stop();
}

bool CEmulatedReader::Start(bool openReader) {
    if (!m_emulator.Start()) {
        return false;
    }
    m_entries.WriteEntry(40, m_emulator.PortPath());
    SetDeviceEntries(&m_entries);
    if (!openReader) {
        return true;
    }
    if (!m_reader.Open("COM40", 19200, 'N', 8, 1, 0, 9, 15000)) {
        return false;
    }
    m_reader.m_timeoutMs = kTimeoutMs;
    return m_reader.StartMonitoring();
}
