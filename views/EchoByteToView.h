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
    explicit CViewUpdateEvent(QByteArray piece) : QEvent(kType), m_piece(std::move(piece)) {}
    const QByteArray& Piece() const { return m_piece; }

private:
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
// Control bytes other than CR and LF are written as "<XX>".
void EchoByteToView(uint8_t c);

// Sets or clears the output view, safely against a hook that is posting.
void SetOutputView(COrvaneView* view);
// Clears the output view if it is still this one.
void ReleaseOutputView(COrvaneView* view);
