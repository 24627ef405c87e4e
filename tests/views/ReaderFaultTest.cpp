#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <thread>

#include "CommandTestSupport.h"
#include "shell/InterfaceDlg.h"
#include "views/EchoByteToView.h"

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// Resident memory of the process in KiB, from /proc.
long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// Watches the process from a thread of its own while it lives: the highest
// resident memory, and how long a call queued to the UI thread waits before it
// runs (one call in flight at a time).
class CLoadWatch {
public:
    CLoadWatch() : m_baseKiB(ResidentKiB()), m_thread([this] { Run(); }) {}
    ~CLoadWatch() {
        m_bStop = true;
        m_thread.join();
        // A call still queued must not run after this object is gone.
        QCoreApplication::removePostedEvents(&m_receiver);
    }
    long GrowthKiB() const { return m_peakKiB.load() - m_baseKiB; }
    std::chrono::milliseconds LongestQueueWait() const {
        return std::chrono::milliseconds(m_longestWaitMs.load());
    }

private:
    void Run() {
        while (!m_bStop) {
            m_peakKiB = std::max(m_peakKiB.load(), ResidentKiB());
            if (!m_bInFlight.exchange(true)) {
                const Clock::time_point posted = Clock::now();
                m_posted = posted.time_since_epoch().count();
                QMetaObject::invokeMethod(
                    &m_receiver, [this] { Arrived(); }, Qt::QueuedConnection);
            } else {
                NoteWait(Clock::now() - Clock::time_point(Clock::duration(m_posted.load())));
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    void Arrived() {
        NoteWait(Clock::now() - Clock::time_point(Clock::duration(m_posted.load())));
        m_bInFlight = false;
    }
    void NoteWait(Clock::duration wait) {
        const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
        long long longest = m_longestWaitMs.load();
        while (ms > longest && !m_longestWaitMs.compare_exchange_weak(longest, ms)) {
        }
    }

    QObject m_receiver;
    const long m_baseKiB;
    std::atomic<long> m_peakKiB{0};
    std::atomic<long long> m_longestWaitMs{0};
    std::atomic<Clock::rep> m_posted{0};
    std::atomic<bool> m_bInFlight{false};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

// Random bytes, every value included (zero and control bytes too).
std::string Garbage(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

// True when a timer started now fires within the bound.
bool EventLoopRuns(std::chrono::milliseconds bound = 3s) {
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    return WaitUntil([&] { return fired; }, bound);
}

// Chooses this entry in the interface dialog and presses OK.
CModalScript::Action ChoosePort(const QString& name) {
    return [name](QWidget* w) {
        auto* dialog = qobject_cast<CInterfaceDlg*>(w);
        const auto items = dialog->m_lbPorts->findItems(name, Qt::MatchStartsWith);
        ASSERT_EQ(items.size(), 1);
        dialog->m_lbPorts->setCurrentItem(items.front());
        QTest::mouseClick(dialog->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
    };
}

// The highest resident memory since the last call, in KiB; 0 where the
// system cannot tell.
long PeakResidentKiBSinceLast() {
    long peak = 0;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> peak;
            break;
        }
        status.ignore(1 << 12, '\n');
    }
    std::ofstream("/proc/self/clear_refs") << "5";
    return peak;
}

// A record read-out of 300 lines that arrives over about a second and ends
// with "END": long enough to pull the adapter out in the middle.
std::string RecordLine(int i) {
    char line[40];
    std::snprintf(line, sizeof line, "%04d 12.03.26 08:%02d 0012AB%02d\r\n", i, i % 60, i % 100);
    return line;
}

Reply SlowRecords(std::string& all) {
    Reply reply;
    for (int i = 0; i < 300; ++i) {
        reply.push_back({3ms, RecordLine(i)});
        all += RecordLine(i);
    }
    reply.push_back({3ms, "END\r\n"});
    all += "END\r\n";
    return reply;
}

// Garbage and cut-off read-outs leave a piece open in the display hook; it is
// dropped after each test (the link and its thread are gone by then).
class FaultCommandTest : public CommandTest {
protected:
    void TearDown() override {
        CommandTest::TearDown();
        g_echoLength = 0;
    }
};

class ReaderFault : public FaultCommandTest {};

TEST_F(ReaderFault, AdapterGoneDuringARecordReadOutKeepsTheTextAndAFreshChoiceWorks) {
    std::string sent;
    const Reply records = SlowRecords(sent);
    Emulator().SetResponder([records](const std::string&) { return records; });
    // A pause of a loaded machine must not end the read-out before the adapter goes.
    m_view->m_reader.m_timeoutMs = 1000;
    // Pulled out once the program has received the first 2000 bytes.
    QTimer pull;
    pull.setInterval(5);
    QObject::connect(&pull, &QTimer::timeout, [&] {
        if (m_view->m_reader.Reply().size() >= 2000) {
            pull.stop();
            Emulator().HangUp();
        }
    });
    pull.start();
    bool hungUpAtMessage = false;
    CModalScript script;
    script.Message(QMessageBox::Ok, [&] { hungUpAtMessage = Emulator().HungUp(); });
    Run(&COrvaneView::OnReadRecords, script);

    EXPECT_TRUE(hungUpAtMessage);
    EXPECT_EQ(script.m_messages, QStringList{"Fehler beim Lesen der Daten"});
    const QByteArray transcript = m_view->TranscriptBytes();
    EXPECT_GE(transcript.size(), 2000);
    EXPECT_LT(transcript.size(), static_cast<qsizetype>(sent.size()));
    EXPECT_TRUE(sent.starts_with(transcript.toStdString()));
    EXPECT_TRUE(m_doc.IsModified());  // the only copy of those records
    EXPECT_TRUE(m_view->isEnabled());
    EXPECT_EQ(m_ui.m_ui.m_nWaitCursor, 0);
    EXPECT_TRUE(EventLoopRuns());
    // Nothing more arrives from the dead line, and the text stays.
    ProcessEventsFor(200ms);
    EXPECT_EQ(m_view->TranscriptBytes(), transcript);

    // The operator plugs in another adapter and chooses it.
    CReaderEmulator fresh(FastEmulatorOptions());
    ASSERT_TRUE(fresh.Start());
    m_reader.m_entries.WriteEntry(41, fresh.PortPath());
    CModalScript choose;
    choose.Then(Is<CInterfaceDlg>, ChoosePort("COM41"));
    Run(&COrvaneView::OnSelectInterface, choose);
    ASSERT_TRUE(m_view->OnUpdateLinkCommand());
    EXPECT_EQ(m_view->m_strPortName, "COM41");

    // The cut read-out is unsaved: dropped knowingly.
    CModalScript read;
    read.Message(QMessageBox::No);
    Run(&COrvaneView::OnReadRecords, read);
    EXPECT_EQ(CountRequests(fresh, "L"), 1u);
    EXPECT_TRUE(m_view->TranscriptBytes().endsWith("END\r\n"));
    EXPECT_TRUE(m_doc.IsModified());
    m_view->CloseLink();
}

TEST_F(ReaderFault, AdapterGoneBetweenCommandsLetsTheLinkBeOpenedAgain) {
    Emulator().HangUp();
    ASSERT_TRUE(EventLoopRuns());
    // The dead line answers nothing: the command fails the usual way.
    CModalScript failed;
    failed.Message(QMessageBox::Ok);
    Run(&COrvaneView::OnReadRecords, failed);
    EXPECT_EQ(failed.m_messages, QStringList{"Fehler beim Lesen der Daten"});

    CReaderEmulator fresh([] {
        EmulatorOptions options = FastEmulatorOptions();
        options.seedRecords = 2;
        return options;
    }());
    ASSERT_TRUE(fresh.Start());
    m_reader.m_entries.WriteEntry(40, fresh.PortPath());
    ASSERT_TRUE(m_view->OpenLink());
    CModalScript read;
    Run(&COrvaneView::OnReadRecords, read);
    EXPECT_TRUE(m_view->TranscriptBytes().endsWith("END\r\n"));
    m_view->CloseLink();
}

// A flood queued for the view while its transcript is all but full: what
// does not fit is passed by at once instead of being held until the insertion.
TEST_F(ReaderFault, PiecesBeyondTheLimitAreNotHeldBackForTheNextInsertion) {
    QByteArray full;
    while (full.size() + 80 <= COrvaneView::kMaxLength - 10) {
        full += QByteArray(78, 'x') + "\r\n";
    }
    full += QByteArray(COrvaneView::kMaxLength - 10 - full.size(), 'y');
    m_view->SetTranscriptBytes(full);
    m_view->moveCursor(QTextCursor::End);
    ASSERT_EQ(m_view->TranscriptLength(), COrvaneView::kMaxLength - 10);

    const QByteArray piece = QByteArray("0123456789") + QByteArray(246, 'z');
    for (int i = 0; i < 200000; ++i) {
        QCoreApplication::postEvent(m_view.get(), new CViewUpdateEvent(piece));
    }
    PeakResidentKiBSinceLast();
    const long before = ResidentKiB();
    QCoreApplication::sendPostedEvents(m_view.get(), CViewUpdateEvent::kType);
    m_view->FlushReceivedText();
    const long growthKiB = PeakResidentKiBSinceLast() - before;
    EXPECT_LT(growthKiB, 32 * 1024);
    EXPECT_EQ(m_view->TranscriptBytes(), full + "0123456789");
    EXPECT_TRUE(EventLoopRuns());
}

class ReaderFaultSlow : public FaultCommandTest {
protected:
    // Waits until the emulator has sent everything and the program has
    // received it all (the reply holds at least count bytes).
    void WaitForFloodEnd(size_t count) {
        ASSERT_TRUE(WaitUntil([&] { return Emulator().WaitForOutputDone(0ms); }, 120s));
        const auto end = Clock::now() + 60s;
        while (m_view->m_reader.Reply().size() < count && Clock::now() < end) {
            ProcessEventsFor(50ms);
        }
        ASSERT_GE(m_view->m_reader.Reply().size(), count);
        ProcessEventsFor(200ms);
    }
    void ExpectBoundedLoad(const CLoadWatch& watch) {
        const long growthKiB = watch.GrowthKiB();
        const auto longestWait = watch.LongestQueueWait();
        std::printf("[ flood    ] memory growth %ld KiB, longest wait of a queued call %lld ms\n",
                    growthKiB, static_cast<long long>(longestWait.count()));
        // Loose enough for a sanitizer's own bookkeeping; a queue that keeps
        // every piece of the flood needs far more.
        EXPECT_LT(growthKiB, 768 * 1024);
        EXPECT_LT(longestWait, 60s);
    }
};

// 10 MB of random bytes: half on its own between commands, half as the reply
// to a record read-out.
TEST_F(ReaderFaultSlow, GarbageFloodKeepsTheTranscriptAtItsLimitAndReleasesTheBuffer) {
    constexpr size_t kHalf = 5u << 20;
    CLoadWatch watch;

    Emulator().Send({{0ms, Garbage(kHalf, 1)}});
    ASSERT_NO_FATAL_FAILURE(WaitForFloodEnd(kHalf));
    EXPECT_EQ(m_view->TranscriptLength(), COrvaneView::kMaxLength);

    const std::string during = Garbage(kHalf, 2);
    Emulator().SetResponder([during](const std::string&) { return Reply{{0ms, during}}; });
    CModalScript script;
    script.m_stepTimeout = 120s;
    script.Message(QMessageBox::No).Message(QMessageBox::Ok);
    Run(&COrvaneView::OnReadRecords, script);
    EXPECT_EQ(script.m_messages.last(), "Fehler beim Lesen der Daten");
    ASSERT_NO_FATAL_FAILURE(WaitForFloodEnd(kHalf));
    Emulator().SetResponder({});
    EXPECT_EQ(m_view->TranscriptLength(), COrvaneView::kMaxLength);
    EXPECT_GE(m_view->m_reader.ReplyCapacity(), kHalf);
    EXPECT_TRUE(EventLoopRuns());
    ExpectBoundedLoad(watch);

    // The full transcript is saved as the view holds it.
    QTemporaryDir dir;
    const QString path = dir.filePath("flood.txt");
    ASSERT_TRUE(m_doc.OnSaveDocument(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes.size(), COrvaneView::kMaxLength);
    EXPECT_EQ(bytes, m_view->TranscriptBytes());

    // The next command gives the grown reply buffer back.
    CModalScript next;
    Run(&COrvaneView::OnReadParameters, next);
    EXPECT_LE(m_view->m_reader.ReplyCapacity(), size_t{1} << 20);
    // A piece of garbage left open before the read does not lead the report.
    EXPECT_EQ(m_view->TranscriptBytes().toStdString(), Emulator().ParameterReport());
}

// Control bytes alone make the most and smallest pieces for the display.
TEST_F(ReaderFaultSlow, ControlByteFloodKeepsMemoryAndTheEventQueueBounded) {
    constexpr size_t kSize = 4u << 20;
    std::string controls = Garbage(kSize, 4);
    for (char& c : controls) {
        c = static_cast<char>(c & 0x1F);
    }
    CLoadWatch watch;
    Emulator().Send({{0ms, controls}});
    ASSERT_NO_FATAL_FAILURE(WaitForFloodEnd(kSize));
    EXPECT_EQ(m_view->TranscriptLength(), COrvaneView::kMaxLength);
    EXPECT_TRUE(EventLoopRuns());
    ExpectBoundedLoad(watch);
}

// The UI thread is busy elsewhere (printing, say) while a flood of the
// smallest pieces arrives: they must not pile up as posted events.
TEST_F(ReaderFaultSlow, AFloodWhileTheUiThreadIsBusyKeepsMemoryBounded) {
    constexpr size_t kSize = 4u << 20;
    std::string controls = Garbage(kSize, 4);
    for (char& c : controls) {
        c = static_cast<char>(c & 0x1F);
    }
    const long before = ResidentKiB();
    Emulator().Send({{0ms, controls}});
    const auto end = Clock::now() + 120s;
    while (m_view->m_reader.Reply().size() < kSize && Clock::now() < end) {
        std::this_thread::sleep_for(100ms);
    }
    // Without the bound the queued pieces took some 440 MB; a sanitizer's
    // quarantine and red zones add to every allocation.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    constexpr long kBoundKiB = 384 * 1024;
#else
    constexpr long kBoundKiB = 128 * 1024;
#endif
    EXPECT_LT(ResidentKiB() - before, kBoundKiB);
    ASSERT_TRUE(EventLoopRuns(60s));
    EXPECT_EQ(m_view->TranscriptLength(), COrvaneView::kMaxLength);
}

}  // namespace
