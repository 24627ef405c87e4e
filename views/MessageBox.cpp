#include "views/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "common/ResourceIds.h"
#include "common/Strings.h"

int ShowMessage(const QString& text, MsgStyle style, QWidget* parent) {
    if (parent == nullptr) {
        parent = QApplication::activeWindow();
    }
    // The application name is fixed at start-up, like the window caption.
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Orvane"));
    box.setText(text);
    switch (style) {
        case MsgStyle::Ok:
            box.setIcon(QMessageBox::NoIcon);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgStyle::OkExclamation:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgStyle::YesNoQuestion:
        case MsgStyle::YesNoQuestionYesDefault:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(style == MsgStyle::YesNoQuestion ? QMessageBox::No
                                                                  : QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
    }
    const int result = box.exec();
    if (result == QMessageBox::Yes) {
        return Res::IDYES;
    }
    if (result == QMessageBox::No) {
        return Res::IDNO;
    }
    return Res::IDOK;
}

int ShowMessage(unsigned stringId, MsgStyle style, QWidget* parent) {
    return ShowMessage(LoadString(stringId), style, parent);
}
