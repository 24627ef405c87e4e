#pragma once

#include <QString>

// A tool tip that shows the text exactly as written. Qt renders a tool tip
// as markup when it looks like markup, so a device or program name such as
// "<b>UART</b>" would change what the operator reads; such a text is handed
// over escaped, its line breaks kept.
QString PlainToolTip(const QString& text);
