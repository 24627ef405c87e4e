#pragma once

#include <QDateTime>
#include <QString>

// The reader's time as orvanectl reads and sets it: the digits of "S"
// (DDMMYYhhmmss, years 2000 to 2099) and the reader's clock text.
class CClockText {
public:
    // True for twelve digits that make a real date and time.
    static bool IsValidDigits(const QString& digits);
    // The request digits of a local time.
    static QString Digits(const QDateTime& time);
    // The time of a valid digit text.
    static QDateTime FromDigits(const QString& digits);
    // The reader's clock text in its usual form "DD.MM.YY hh:mm:ss" (anything
    // after the seconds, such as tenths, is ignored) as a local time; an
    // invalid QDateTime when the text has another form.
    static QDateTime Parse(const QString& text);
};
