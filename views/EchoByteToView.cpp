#include "views/EchoByteToView.h"

#include <QCoreApplication>

#include <mutex>

#include "views/OrvaneView.h"

const QEvent::Type CViewUpdateEvent::kType = static_cast<QEvent::Type>(QEvent::registerEventType());

std::atomic<COrvaneView*> g_pOutputView{nullptr};
char g_echoLine[260];
int32_t g_echoLength = 0;

namespace {

// Held while a piece is posted and while the view pointer changes, so that a
// view being destroyed never receives a post after it has let go.
std::mutex g_outputViewMutex;

// Bumped by DiscardEchoPiece on the UI thread; the monitor thread compares it
// with the value its piece was started under.
std::atomic<uint32_t> g_discardCount{0};
uint32_t g_pieceDiscardCount = 0;  // monitor thread only

void ForgetDiscardedPiece() {
    if (const uint32_t discards = g_discardCount.load(); discards != g_pieceDiscardCount) {
        g_pieceDiscardCount = discards;
        g_echoLength = 0;
    }
}

void PostPiece() {
    {
        std::lock_guard<std::mutex> lock(g_outputViewMutex);
        COrvaneView* view = g_pOutputView.load();
        if (view != nullptr &&
            CViewUpdateEvent::BytesInFlight() + g_echoLength <= COrvaneView::kMaxLength + 1) {
            QCoreApplication::postEvent(view,
                                        new CViewUpdateEvent(QByteArray(g_echoLine, g_echoLength)));
        }
    }
    g_echoLength = 0;
}

}  // namespace

void EchoByteToView(uint8_t c) {
    ForgetDiscardedPiece();
    if (AppendEchoByte(g_echoLine, g_echoLength, c)) {
        PostPiece();
    }
}

void FlushEchoPiece() {
    ForgetDiscardedPiece();
    if (g_echoLength > 0) {
        PostPiece();
    }
}

void DiscardEchoPiece() {
    g_discardCount.fetch_add(1);
}

void SetOutputView(COrvaneView* view) {
    std::lock_guard<std::mutex> lock(g_outputViewMutex);
    g_pOutputView.store(view);
}

void ReleaseOutputView(COrvaneView* view) {
    std::lock_guard<std::mutex> lock(g_outputViewMutex);
    COrvaneView* expected = view;
    g_pOutputView.compare_exchange_strong(expected, nullptr);
}
