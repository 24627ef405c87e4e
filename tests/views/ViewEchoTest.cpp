#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "DialogTestSupport.h"
#include "views/EchoByteToView.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"
#include "views/TranscriptText.h"

namespace {

using namespace std::chrono_literals;

// Keeps every piece that reaches the view, as the view receives it.
class PieceRecorder : public QObject {
public:
    explicit PieceRecorder(QObject* view) { view->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == CViewUpdateEvent::kType) {
            m_pieces << static_cast<CViewUpdateEvent*>(e)->Piece();
        }
        return false;
    }
    QList<QByteArray> m_pieces;
};

class ViewEchoTest : public ::testing::Test {
protected:
    void SetUp() override { g_echoLength = 0; }

    // The bytes as the monitor thread hands them to the hook.
    static void Feed(const QByteArray& bytes) {
        for (const char c : bytes) {
            EchoByteToView(static_cast<uint8_t>(c));
        }
    }
    void Deliver() {
        QCoreApplication::sendPostedEvents(&m_view);
        m_view.FlushReceivedText();
    }
    QString Text() const { return m_view.toPlainText(); }

    COrvaneDoc m_doc;
    COrvaneView m_view{&m_doc};
};

const QString kCr(CTranscriptText::kLoneCr);
const QString kLf(CTranscriptText::kLoneLf);

TEST_F(ViewEchoTest, LineEndsAndControlBytesFinishPieces) {
    PieceRecorder recorder(&m_view);
    Feed("AB\r\n");
    Feed(QByteArray("\x02X\x03", 3));
    Feed(QByteArray(1, '\0'));
    Feed("\x1b");
    Deliver();
    EXPECT_EQ(recorder.m_pieces,
              QList<QByteArray>({"AB\r", "\n", "<02>", "X<03>", "<00>", "<1B>"}));
    // The CR LF pair, split over two pieces, is one line break.
    EXPECT_EQ(Text(), "AB\n<02>X<03><00><1B>");
    EXPECT_EQ(m_view.TranscriptBytes(), QByteArray("AB\r\n<02>X<03><00><1B>"));
}

TEST_F(ViewEchoTest, ClearingTheTranscriptDropsThePieceStillBeingGathered) {
    // A key list ends in "X" without a line end: the piece stays open.
    Feed("S\r\n0012AB34\r\nX");
    Deliver();
    m_view.ClearTranscript();
    Feed("ID:01\r\n");
    Deliver();
    EXPECT_EQ(m_view.TranscriptBytes(), QByteArray("ID:01\r\n"));
}

TEST_F(ViewEchoTest, LongRunsAreCutAt256Characters) {
    PieceRecorder recorder(&m_view);
    const QByteArray run(300, 'x');
    Feed(run + "\r\n");
    Deliver();
    ASSERT_EQ(recorder.m_pieces.size(), 3);
    EXPECT_EQ(recorder.m_pieces[0], QByteArray(256, 'x'));
    EXPECT_EQ(recorder.m_pieces[1], QByteArray(44, 'x') + "\r");
    EXPECT_EQ(recorder.m_pieces[2], QByteArray("\n"));
    EXPECT_EQ(m_view.TranscriptBytes(), run + "\r\n");
    // A control byte after 255 held characters still fits the buffer.
    recorder.m_pieces.clear();
    Feed(QByteArray(255, 'y') + "\x01");
    Deliver();
    ASSERT_EQ(recorder.m_pieces.size(), 1);
    EXPECT_EQ(recorder.m_pieces[0], QByteArray(255, 'y') + "<01>");
}

TEST_F(ViewEchoTest, HighBytesPassUnchangedAsWindows1252) {
    PieceRecorder recorder(&m_view);
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b) {
        high += static_cast<char>(b);
    }
    Feed(high + "\r\n");
    Deliver();
    ASSERT_FALSE(recorder.m_pieces.isEmpty());
    EXPECT_EQ(recorder.m_pieces[0], high + "\r");
    EXPECT_EQ(Text().left(3), QString::fromUtf8("\u20AC\u0081\u201A"));
    EXPECT_EQ(m_view.TranscriptBytes(), high + "\r\n");
}

TEST_F(ViewEchoTest, LoneCrAndLoneLfStayVisibleSingleBytes) {
    Feed("A\rB\nC\r\r\nD\n\r");
    Deliver();
    EXPECT_EQ(Text(), "A" + kCr + "B" + kLf + "C" + kCr + "\nD" + kLf + kCr);
    EXPECT_EQ(m_view.TranscriptBytes(), QByteArray("A\rB\nC\r\r\nD\n\r"));
}

TEST_F(ViewEchoTest, PiecesGoToTheCaretWithoutReplacingTheSelection) {
    m_view.SetTranscriptBytes("first\r\nlast");
    QTextCursor cursor = m_view.textCursor();
    cursor.setPosition(5);  // after "first"
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    m_view.setTextCursor(cursor);
    Feed("<1>\x02");
    Feed("<2>\x02");
    Deliver();
    EXPECT_EQ(Text(), "fi<1><02><2><02>rst\nlast");
    EXPECT_FALSE(m_view.textCursor().hasSelection());
    EXPECT_EQ(m_view.textCursor().position(), 2 + 14);
}

TEST_F(ViewEchoTest, ACrShownBeforeTheCaretMovedIsNotJoinedByTheNextLf) {
    m_view.SetTranscriptBytes("xyz");
    m_view.moveCursor(QTextCursor::End);
    Feed("ab\r");
    Deliver();
    m_view.moveCursor(QTextCursor::Start);
    Feed("\n");
    Deliver();
    EXPECT_EQ(m_view.TranscriptBytes(), QByteArray("\nxyzab\r"));
}

TEST_F(ViewEchoTest, ReceivedTextIsNoUndoStepAndMarksTheDocument) {
    m_doc.SetModifiedFlag(false);
    Feed("record 1\r\n");
    Deliver();
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_FALSE(m_view.document()->isUndoAvailable());

    m_view.show();
    m_view.setFocus();
    m_view.moveCursor(QTextCursor::End);
    QTest::keyClicks(&m_view, "ok");
    Feed("record 2\r\n");
    Deliver();
    // Undo cannot take back what the reader sent, nor an edit made before it.
    m_view.undo();
    EXPECT_EQ(m_view.TranscriptBytes(), QByteArray("record 1\r\nokrecord 2\r\n"));
}

TEST_F(ViewEchoTest, TheEventLoopInsertsPiecesInArrivalOrder) {
    for (int i = 0; i < 500; ++i) {
        Feed(QByteArray::number(i) + "\r\n");
    }
    ASSERT_TRUE(WaitUntil([&] { return m_view.document()->blockCount() == 501; }));
    QByteArray expected;
    for (int i = 0; i < 500; ++i) {
        expected += QByteArray::number(i) + "\r\n";
    }
    EXPECT_EQ(m_view.TranscriptBytes(), expected);
}

TEST_F(ViewEchoTest, PiecesWithoutAViewAreDropped) {
    ReleaseOutputView(&m_view);
    Feed("lost\r\n");
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(g_echoLength, 0);
    EXPECT_EQ(Text(), QString());
    SetOutputView(&m_view);
    Feed("kept\r\n");
    Deliver();
    EXPECT_EQ(Text(), "kept\n");
}

TEST_F(ViewEchoTest, TextBeyondTheLimitIsNotShownAndTheViewStaysResponsive) {
    // Lines of 78 characters and CR LF, up to 5 short of the limit.
    const QByteArray line = QByteArray(78, 'r') + "\r\n";
    QByteArray filler;
    while (filler.size() + line.size() <= COrvaneView::kMaxLength - 5) {
        filler += line;
    }
    filler += QByteArray(COrvaneView::kMaxLength - 5 - filler.size(), 'f');
    m_view.SetTranscriptBytes(filler);
    m_view.moveCursor(QTextCursor::End);
    ASSERT_EQ(m_view.TranscriptLength(), COrvaneView::kMaxLength - 5);

    Feed("abcdefgh\r\n");
    Deliver();
    EXPECT_EQ(m_view.TranscriptLength(), COrvaneView::kMaxLength);
    EXPECT_TRUE(m_view.TranscriptBytes().endsWith("fabcde"));

    // A reader that keeps streaming: 2 MB more, worked off quickly.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 2 * 1024 * 1024 / line.size(); ++i) {
        Feed(line);
        if (i % 256 == 0) {
            QCoreApplication::processEvents();
        }
    }
    Deliver();
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_EQ(m_view.TranscriptLength(), COrvaneView::kMaxLength);
    // Typing stops at the limit as well.
    m_view.show();
    m_view.setFocus();
    QTest::keyClicks(&m_view, "zz");
    EXPECT_EQ(m_view.TranscriptLength(), COrvaneView::kMaxLength);
}

}  // namespace
