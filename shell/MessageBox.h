#pragma once

#include <QString>

class QWidget;

// The three message box styles of the program; the caption is always the
// application name. Results are Res::IDOK, Res::IDYES or Res::IDNO.
enum class MsgStyle { Ok, OkExclamation, YesNoQuestion };

int ShowMessage(const QString& text, MsgStyle style, QWidget* parent = nullptr);
int ShowMessage(unsigned stringId, MsgStyle style, QWidget* parent = nullptr);
