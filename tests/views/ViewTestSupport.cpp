#include "ViewTestSupport.h"

#include <QCoreApplication>
#include <QSettings>

#include <dlfcn.h>

#include "shell/SettingsStore.h"

using namespace std::chrono_literals;

CViewTestSettings::CViewTestSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    SetDeviceEntries(&m_entries);
}

CViewTestSettings::~CViewTestSettings() {
    SetDeviceEntries(nullptr);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       m_dir.path() + QStringLiteral("-gone"));
}

CViewEmulator::CViewEmulator(ReaderModel model, unsigned records)
    : m_emulator([&] {
          EmulatorOptions options;
          options.model = model;
          options.seedRecords = records;
          options.progressInterval = std::chrono::microseconds(200);
          options.resetDelay = 20ms;
          return options;
      }()) {}

bool CViewEmulator::Start() {
    if (!m_emulator.Start()) {
        return false;
    }
    CSettingsStore::WriteProfileString("Devices", "COM40",
                                       QString::fromStdString(m_emulator.PortPath()));
    CSettingsStore::WriteProfileString("Port", "Name", "COM40");
    CSettingsStore::WriteProfileInt("Port", "Timeout", 100);
    return true;
}

CStandInAdapters::CStandInAdapters() {
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/libftd2xx.so");
    m_module = ::dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (m_module != nullptr) {
        m_add =
            reinterpret_cast<PFN_FakeFtd2xx_AddAdapter>(::dlsym(m_module, "FakeFtd2xx_AddAdapter"));
        m_reset = reinterpret_cast<PFN_FakeFtd2xx_Reset>(::dlsym(m_module, "FakeFtd2xx_Reset"));
    }
    if (m_reset != nullptr) {
        m_reset();
    }
}

CStandInAdapters::~CStandInAdapters() {
    if (m_reset != nullptr) {
        m_reset();
    }
    if (m_module != nullptr) {
        ::dlclose(m_module);
    }
}

void CStandInAdapters::Add(const char* serial, const std::string& portPath) {
    m_add(serial, "Orvane USB", portPath.c_str(), 0);
}
