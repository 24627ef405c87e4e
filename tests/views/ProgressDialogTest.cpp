#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

#include "DialogTestSupport.h"
#include "views/ClearBufferDlg.h"
#include "views/MemoryTestDlg.h"

using namespace std::chrono_literals;

namespace {

// What a progress dialog showed while it ran.
struct Observed {
    int maximum = -1;
    bool disabledWhileRunning = false;
    bool valuesInOrder = true;  // each sample at or above the previous one
    int lastSample = 0;
};

// Runs the dialog modally and samples it every few milliseconds.
template <class Dialog>
int RunObserved(Dialog& dialog, Observed& seen) {
    QProgressBar* bar = dialog.ProgressBar();
    seen.maximum = bar->maximum();
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (Dialog::s_pRunning.load() == &dialog && !dialog.isEnabled()) {
            seen.disabledWhileRunning = true;
        }
        if (bar->value() < seen.lastSample) {
            seen.valuesInOrder = false;
        }
        seen.lastSample = bar->value();
    });
    sampler.start(5);
    return dialog.exec();
}

class ProgressDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_reader.Start()); }

    CTestUserInterfaceScope m_ui;
    CEmulatedReader m_reader;
};

}  // namespace

TEST_F(ProgressDialog, ClearFillsTheBarExactlyAndAccepts) {
    CClearBufferDlg dialog(&m_reader.m_reader);
    Observed seen;
    EXPECT_EQ(RunObserved(dialog, seen), QDialog::Accepted);
    EXPECT_EQ(seen.maximum, 516);
    EXPECT_EQ(dialog.ProgressBar()->value(), 516);
    EXPECT_TRUE(seen.disabledWhileRunning);
    EXPECT_TRUE(seen.valuesInOrder);
    EXPECT_EQ(m_reader.Requests(), std::vector<std::string>{"C"});
    EXPECT_EQ(CClearBufferDlg::s_pRunning.load(), nullptr);
    EXPECT_EQ(m_reader.m_reader.m_pfnByteHook.load(), nullptr);
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_EQ(dialog.windowTitle(), "Datenpuffer löschen");
}

TEST_F(ProgressDialog, MemoryTestFillsTheBarExactlyAndAccepts) {
    CMemoryTestDlg dialog(&m_reader.m_reader);
    Observed seen;
    EXPECT_EQ(RunObserved(dialog, seen), QDialog::Accepted);
    EXPECT_EQ(seen.maximum, 1028);
    EXPECT_EQ(dialog.ProgressBar()->value(), 1028);
    EXPECT_TRUE(seen.disabledWhileRunning);
    EXPECT_EQ(m_reader.Requests(), std::vector<std::string>{"\xC8"});
    EXPECT_EQ(dialog.windowTitle(), "Speichertest");
}

TEST_F(ProgressDialog, UnansweredOperationRejectsWithTheBarAtZero) {
    m_reader.m_emulator.SetFault(EmulatorFault::NoAnswer);
    CClearBufferDlg dialog(&m_reader.m_reader);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
    EXPECT_EQ(m_reader.Requests(), std::vector<std::string>{"C"});
}

TEST_F(ProgressDialog, MissingConfirmationRejects) {
    m_reader.m_emulator.SetFault(EmulatorFault::MissingEnd);
    CMemoryTestDlg dialog(&m_reader.m_reader);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.ProgressBar()->value(), 1024);
}

TEST_F(ProgressDialog, BarStartsAgainPastItsMaximum) {
    // 600 progress bytes and the confirmation: 604 steps on a bar of 0..516.
    m_reader.m_emulator.SetResponder([](const std::string&) {
        return Reply{ReplyChunk{{}, std::string(600, '.')}, ReplyChunk{{}, "OK\r\n"}};
    });
    CClearBufferDlg dialog(&m_reader.m_reader);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.ProgressBar()->value(), 604 - 517);
}

TEST_F(ProgressDialog, EscapeBeforeTheStartSendsNothing) {
    CClearBufferDlg dialog(&m_reader.m_reader);
    // Queued before the dialog's 100 ms start: handled first.
    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    // The dialog object lives on; its start must not come any more.
    ProcessEventsFor(300ms);
    EXPECT_TRUE(m_reader.m_emulator.ReceivedBytes().empty());
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
}

TEST_F(ProgressDialog, CannotBeClosedWhileTheReaderWorks) {
    m_reader.m_emulator.SetResponder([](const std::string&) {
        Reply reply(100, ReplyChunk{std::chrono::milliseconds(2), "."});
        reply.push_back(ReplyChunk{{}, "OK\r\n"});
        return reply;
    });
    CMemoryTestDlg dialog(&m_reader.m_reader);
    int closeAttempts = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (CMemoryTestDlg::s_pRunning.load() == &dialog) {
            ++closeAttempts;
            dialog.reject();
            dialog.close();
        }
    });
    closer.start(5);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_GT(closeAttempts, 0);
    EXPECT_EQ(dialog.ProgressBar()->value(), 104);
}

TEST(ProgressDialogHook, StepWithoutRunningDialogIsDropped) {
    CReaderProtocol reader;
    CClearBufferDlg dialog(&reader);
    CClearBufferDlg::OnProgressByte('x');
    CMemoryTestDlg::OnProgressByte('x');
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
}

namespace {

// A dialog whose byte hook reaches it with no lock of its own: closing it
// relies on the removal of the hook waiting for a call under way.
class CByteCountDlg : public QDialog {
public:
    explicit CByteCountDlg(CReaderProtocol& reader) : m_reader(reader) {
        s_pDialog = this;
        s_bAlive = true;
        m_reader.m_pfnByteHook = &OnByte;
    }
    ~CByteCountDlg() override {
        s_bAlive = false;
        s_pDialog = nullptr;
    }
    void done(int result) override {
        m_reader.m_pfnByteHook = nullptr;
        QDialog::done(result);
    }

    // A slow hook: most of the time a call is under way.
    static void OnByte(uint8_t) {
        CByteCountDlg* dialog = s_pDialog.load();
        std::this_thread::sleep_for(20ms);
        if (!s_bAlive.load()) {
            ++s_nLateCalls;
            return;
        }
        dialog->m_nBytes.fetch_add(1);
    }

    static inline std::atomic<CByteCountDlg*> s_pDialog{nullptr};
    static inline std::atomic<bool> s_bAlive{false};
    static inline std::atomic<int> s_nLateCalls{0};
    std::atomic<int> m_nBytes{0};

private:
    CReaderProtocol& m_reader;
};

}  // namespace

TEST(ProgressDialogHook, DialogClosedWhileAFloodStreamsInIsNotReachedAfterwards) {
    CTestUserInterfaceScope ui;
    CEmulatedReader reader;
    ASSERT_TRUE(reader.Start());
    reader.m_emulator.Send({{{}, std::string(65536, 'x')}});
    auto dialog = std::make_unique<CByteCountDlg>(reader.m_reader);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (dialog->m_nBytes.load() >= 3) {
            closer.stop();
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        }
    });
    closer.start(5);
    EXPECT_EQ(dialog->exec(), QDialog::Rejected);
    dialog.reset();
    std::this_thread::sleep_for(100ms);  // the flood goes on
    EXPECT_EQ(CByteCountDlg::s_nLateCalls.load(), 0);
}
