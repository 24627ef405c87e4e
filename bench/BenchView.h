#pragma once

#include <string>

#include "link/DeviceEntries.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

// A shown transcript view whose link is open on a port, as the program opens
// one: the port is COM<number> in the device table, the monitor thread runs
// and the display hook is on.
class CBenchView {
public:
    CBenchView(int number, const std::string& path) {
        m_entries.WriteEntry(number, path);
        SetDeviceEntries(&m_entries);
        m_view.resize(815, 400);
        m_view.show();
        m_bOpen =
            m_view.m_reader.Open("COM" + std::to_string(number), 19200, 'N', 8, 1, 0, 9, 15000) &&
            m_view.m_reader.StartMonitoring();
        if (m_bOpen) {
            m_view.HookOn();
        }
    }
    ~CBenchView() {
        m_view.CloseLink();
        SetDeviceEntries(nullptr);
    }
    CBenchView(const CBenchView&) = delete;
    CBenchView& operator=(const CBenchView&) = delete;

    bool IsOpen() const { return m_bOpen; }
    COrvaneView& View() { return m_view; }

private:
    CMapDeviceEntries m_entries;
    COrvaneDoc m_doc;
    COrvaneView m_view{&m_doc};
    bool m_bOpen = false;
};
