#pragma once

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

// Every control of a command dialog carries its template id as object name
// ("1", "2", "1006", ...), so code and tests find controls the way the
// templates number them.
QString ControlName(int id);

// A push button with the given id and text.
QPushButton* MakeButton(QWidget* parent, int id, const QString& text);

// A line edit with the given id that accepts digits only.
QLineEdit* MakeDigitEdit(QWidget* parent, int id);
