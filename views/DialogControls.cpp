#include "views/DialogControls.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

QString ControlName(int id) {
    return QString::number(id);
}

QPushButton* MakeButton(QWidget* parent, int id, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(ControlName(id));
    return button;
}

QLineEdit* MakeDigitEdit(QWidget* parent, int id) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(ControlName(id));
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}
