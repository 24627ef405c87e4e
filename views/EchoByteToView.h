#pragma once

#include <QByteArray>
#include <QEvent>

#include <atomic>
#include <cstdint>

#include "views/EchoPiece.h"

class COrvaneView;

// The event that carries one piece of received text to the view. Posted,
// never sent; the event owns its piece.
class CViewUpdateEvent : public QEvent {
public:
    static const QEvent::Type kType;  // registered once, at static initialisation
    explicit CViewUpdateEvent(QByteArray piece) : QEvent(kType), m_piece(std::move(piece)) {
        s_bytesInFlight.fetch_add(m_piece.size());
    }
    ~CViewUpdateEvent() override { s_bytesInFlight.fetch_sub(m_piece.size()); }
    const QByteArray& Piece() const { return m_piece; }

    // The bytes of all pieces posted and not yet delivered (or discarded).
    static qsizetype BytesInFlight() { return s_bytesInFlight.load(); }
    // Called on the receiving thread before it looks at any event: Qt hands
    // events over under locks a thread checker cannot see, and this read of
    // the count each posted piece raised makes that hand-over visible.
    static void Receive() { s_bytesInFlight.load(std::memory_order_acquire); }

private:
    static inline std::atomic<qsizetype> s_bytesInFlight{0};
    QByteArray m_piece;
};

// The view that receives the pieces; set when the view is created and reset
// when it goes away.
extern std::atomic<COrvaneView*> g_pOutputView;
// The piece under assembly and its length; touched only by the monitor thread.
extern char g_echoLine[260];
extern int32_t g_echoLength;

// The display hook: gathers received bytes into pieces (up to a control byte,
// at most 256 characters) and posts each finished piece to the output view.
// While the view's thread is busy, pieces beyond what a full transcript can
// show are dropped instead of queued, so a flood cannot eat the memory.
// Control bytes other than CR and LF are written as "<XX>".
void EchoByteToView(uint8_t c);

// Drops the piece under assembly before the next byte is added to it: the
// tail of a reply that ends without a control byte (a key list's "X") is
// held until the next control byte and would otherwise open the next text
// shown. Safe to call from any thread.
void DiscardEchoPiece();

// Posts the piece under assembly as it stands: the tail of a line that the
// loss of the link cut short. Only while no monitor thread runs the hook
// (after the link's Close).
void FlushEchoPiece();

// Sets or clears the output view, safely against a hook that is posting.
void SetOutputView(COrvaneView* view);
// Clears the output view if it is still this one.
void ReleaseOutputView(COrvaneView* view);
