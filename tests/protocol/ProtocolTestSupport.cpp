#include "ProtocolTestSupport.h"

std::mutex CHookRecorder::s_mutex;
std::string CHookRecorder::s_bytes;

void CHookRecorder::Hook(uint8_t byte) {
    std::lock_guard lock(s_mutex);
    s_bytes.push_back(static_cast<char>(byte));
}

void CHookRecorder::Reset() {
    std::lock_guard lock(s_mutex);
    s_bytes.clear();
}

std::string CHookRecorder::Bytes() {
    std::lock_guard lock(s_mutex);
    return s_bytes;
}

std::string Text(std::initializer_list<uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string ViaName(const ::testing::TestParamInfo<LinkVia>& info) {
    switch (info.param) {
        case LinkVia::Pty:
            return "Pty";
        case LinkVia::Socket:
            return "Socket";
        case LinkVia::Rfc2217:
            return "Rfc2217";
    }
    return "";
}

CEmulatorLink::CEmulatorLink(const EmulatorOptions& options, uint32_t timeoutMs, LinkVia via)
    : emulator(options) {
    if (!emulator.Start()) {
        return;
    }
    std::string device = emulator.PortPath();
    if (via != LinkVia::Pty) {
        ser2net = std::make_unique<CSer2net>(device);
        if (!ser2net->Start()) {
            return;
        }
        device = via == LinkVia::Socket ? ser2net->SocketAddress() : ser2net->Rfc2217Address();
    }
    m_entries.WriteEntry(40, device);
    SetDeviceEntries(&m_entries);
    protocol.m_timeoutMs = timeoutMs;
    m_bOk = protocol.Open("COM40", 19200, 'N', 8, 1, 0, 9, 15000) && protocol.StartMonitoring();
}

CEmulatorLink::~CEmulatorLink() {
    protocol.Close();
    ser2net.reset();
    emulator.Stop();
    SetDeviceEntries(nullptr);
}

void LinkedProtocolTest::SetUp() {
    CHookRecorder::Reset();
    SetUserInterface(&m_ui);
    m_link = std::make_unique<CEmulatorLink>(EmulatorOptions{}, kTimeoutMs);
    ASSERT_TRUE(m_link->Ok());
    Emulator().SetResponder([](const std::string&) { return Reply{}; });
}

void LinkedProtocolTest::TearDown() {
    m_link.reset();
    SetUserInterface(nullptr);
}

void LinkedProtocolTest::AnswerWith(Reply chunks) {
    Emulator().SetResponder([chunks](const std::string&) { return chunks; });
}
