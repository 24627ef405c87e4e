#pragma once

#include <QString>

#include "link/LinkFailure.h"
#include "link/PortFacts.h"

// The operator's words for the link: why a port did not open and what to
// do about it, what Linux knows about a port, and the state of a lost link.
// Needs nothing of Qt but QtCore, so that a program without windows shares
// the same words; texts go through the installed translators (context
// "LinkTexts") at the moment they are asked for.
namespace LinkTexts {

// One sentence naming the port and the reason, e.g. "COM3 (/dev/ttyUSB0)
// ist von einem anderen Programm belegt: minicom (PID 4711)".
QString Failure(const CLinkFailure& failure);
// The facts of one port, one per line (the interface list's tool tip).
QString Facts(const CPortFacts& facts);

// The port pane while the link is lost.
QString PaneLost(const QString& port);
// The status line when the link was lost; cutShort: a read-out ended with it.
QString Lost(const QString& port, bool cutShort);
// The status line when another device took the lost link's name.
QString OtherDevice(const QString& port);
// The status line when the lost link was opened again by itself.
QString Restored(const QString& port);

}  // namespace LinkTexts
