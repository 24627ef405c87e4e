#include "ctl/ClockText.h"

#include <QRegularExpression>

namespace {

QDateTime Make(int day, int month, int year, int hour, int minute, int second) {
    const QDate date(2000 + year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

}  // namespace

bool CClockText::IsValidDigits(const QString& digits) {
    return FromDigits(digits).isValid();
}

QString CClockText::Digits(const QDateTime& time) {
    return time.toString(QStringLiteral("ddMMyyHHmmss"));
}

QDateTime CClockText::FromDigits(const QString& digits) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{2}){6}$"));
    if (!pattern.match(digits).hasMatch()) {
        return {};
    }
    auto field = [&digits](int i) { return digits.mid(2 * i, 2).toInt(); };
    return Make(field(0), field(1), field(2), field(3), field(4), field(5));
}

QDateTime CClockText::Parse(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*([0-9]{2})\\.([0-9]{2})\\.([0-9]{2})\\s+([0-9]{2}):([0-9]{2}):([0-9]{2})(\\D|$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return {};
    }
    auto field = [&match](int i) { return match.captured(i).toInt(); };
    return Make(field(1), field(2), field(3), field(4), field(5), field(6));
}
