#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <mutex>

#include "DialogTestSupport.h"
#include "common/ResourceIds.h"
#include "views/ClockDisplayDlg.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Arrival times of the clock requests.
class CClockRequests {
public:
    explicit CClockRequests(CReaderEmulator& emulator) {
        emulator.SetRequestObserver([this](const std::string& request, bool complete) {
            if (complete && request == "R") {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_times.push_back(Clock::now());
            }
        });
    }
    std::vector<Clock::time_point> Times() const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_times;
    }
    size_t Count() const { return Times().size(); }

private:
    mutable std::mutex m_mutex;
    std::vector<Clock::time_point> m_times;
};

}  // namespace

TEST(DialogClockDisplaySlow, ReadsTheClockAgain500msAfterEachReadEnded) {
    CTestUserInterfaceScope ui;
    CEmulatedReader reader;
    ASSERT_TRUE(reader.Start());
    CClockRequests requests(reader.m_emulator);

    CClockDisplayDlg dialog(&reader.m_reader);
    dialog.m_strClock = "01.02.26 03:04:05";
    QString firstShown;
    QString laterShown;
    bool readOnly = false;
    CModalScript script;
    script.On<CClockDisplayDlg>([&](CClockDisplayDlg* d) {
        auto* edit = d->findChild<QLineEdit*>("1000");
        firstShown = edit->text();
        readOnly = edit->isReadOnly();
        EXPECT_TRUE(WaitUntil([&] { return requests.Count() >= 3; }, 6s));
        laterShown = edit->text();
        ClickControl(d, Res::IDCANCEL);
    });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(firstShown, "01.02.26 03:04:05");
    EXPECT_TRUE(readOnly);
    EXPECT_NE(laterShown, firstShown);
    EXPECT_EQ(laterShown, QString::fromStdString(dialog.m_strClock));
    EXPECT_FALSE(laterShown.contains('\r') || laterShown.contains('\n'));

    // A read lasts at least the reply time-out, and the next one starts 500 ms after it.
    const std::vector<Clock::time_point> times = requests.Times();
    for (size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1],
                  500ms + std::chrono::milliseconds(CEmulatedReader::kTimeoutMs / 2));
    }
    // Closed: no more reads.
    const size_t count = requests.Count();
    ProcessEventsFor(900ms);
    EXPECT_EQ(requests.Count(), count);
}

TEST(DialogClockDisplaySlow, FailedReadKeepsTheLastText) {
    CTestUserInterfaceScope ui;
    CEmulatedReader reader;
    ASSERT_TRUE(reader.Start());
    CClockRequests requests(reader.m_emulator);
    reader.m_emulator.SetFault(EmulatorFault::NoAnswer);

    CClockDisplayDlg dialog(&reader.m_reader);
    dialog.m_strClock = "kept";
    QString shown;
    CModalScript script;
    script.On<CClockDisplayDlg>([&](CClockDisplayDlg* d) {
        EXPECT_TRUE(WaitUntil([&] { return requests.Count() >= 2; }, 6s));
        shown = d->findChild<QLineEdit*>("1000")->text();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    script.Start();
    dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(shown, "kept");
}
