// One reader transaction end to end over each kind of link, against the
// reader emulator: a COM port and an FTDI adapter (stand-in library).
#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "StandInFtd2xx.h"
#include "protocol/ReaderProtocol.h"
#include "tools/emulator/ReaderEmulator.h"

namespace {

class ReaderTransactionTest : public ::testing::Test {
protected:
    void SetUp() override {
        EmulatorOptions options;
        options.model = ReaderModel::Extended;
        options.seedRecords = 40;
        m_emulator = std::make_unique<CReaderEmulator>(options);
        ASSERT_TRUE(m_emulator->Start());
        m_reader.m_timeoutMs = 150;
    }
    void TearDown() override { m_reader.Close(); }

    // Reads the parameter report and the records through the open link.
    void RunTransactions() {
        ASSERT_TRUE(m_reader.StartMonitoring());
        std::string report;
        EXPECT_TRUE(m_reader.ReadParameters(report));
        EXPECT_NE(report.find("V:"), std::string::npos) << report;
        std::string records;
        EXPECT_TRUE(m_reader.ReadRecords(records));
        EXPECT_TRUE(records.ends_with("END\r\n")) << records;
        EXPECT_EQ(m_emulator->Requests(), (std::vector<std::string>{"P", "L"}));
    }

    CScopedEntries m_entries;
    std::unique_ptr<CReaderEmulator> m_emulator;
    CReaderProtocol m_reader;
};

TEST_F(ReaderTransactionTest, ComLinkCarriesReaderCommands) {
    m_entries.Set(44, m_emulator->PortPath());
    ASSERT_TRUE(m_reader.Open("COM44 [Meridel Orvane]", 19200, 'N', 8, 1, 0, 9, 15000));
    RunTransactions();
}

TEST_F(ReaderTransactionTest, UsbLinkCarriesReaderCommands) {
    CStandInFtd2xx standIn;
    ASSERT_TRUE(standIn.IsValid());
    standIn.AddAdapter("MO4711", "Meridel Orvane USB", m_emulator->PortPath());
    std::vector<std::string> adapters;
    m_reader.ListUsbDevices(adapters);
    ASSERT_EQ(adapters, std::vector<std::string>{"MO4711"});
    ASSERT_TRUE(m_reader.Open(adapters.front(), 19200, 'N', 8, 1, 0, 9, 15000));
    RunTransactions();
    m_reader.Close();  // while the adapter is still configured
}

}  // namespace
