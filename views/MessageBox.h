#pragma once

#include <QString>

class QWidget;

// The three message box styles of the program; the caption is always the
// application name. Results are Res::IDOK, Res::IDYES or Res::IDNO.
// YesNoQuestion has No as its default button, YesNoQuestionYesDefault Yes;
// Escape answers No in both.
enum class MsgStyle { Ok, OkExclamation, YesNoQuestion, YesNoQuestionYesDefault };

int ShowMessage(const QString& text, MsgStyle style, QWidget* parent = nullptr);
int ShowMessage(unsigned stringId, MsgStyle style, QWidget* parent = nullptr);
