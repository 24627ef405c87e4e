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

}  // namespace

void EchoByteToView(uint8_t c) {
    if (c >= 0x20 || c == '\r' || c == '\n') {
        g_echoLine[g_echoLength] = static_cast<char>(c);
    } else {
        static const char kDigits[] = "0123456789ABCDEF";
        g_echoLine[g_echoLength] = '<';
        g_echoLine[g_echoLength + 1] = kDigits[c >> 4];
        g_echoLine[g_echoLength + 2] = kDigits[c & 0x0F];
        g_echoLine[g_echoLength + 3] = '>';
        g_echoLength += 3;
    }
    ++g_echoLength;
    if (g_echoLength <= 255 && c >= 0x20) {
        return;
    }
    g_echoLine[g_echoLength] = '\0';
    {
        std::lock_guard<std::mutex> lock(g_outputViewMutex);
        if (COrvaneView* view = g_pOutputView.load()) {
            QCoreApplication::postEvent(view,
                                        new CViewUpdateEvent(QByteArray(g_echoLine, g_echoLength)));
        }
    }
    g_echoLength = 0;
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
