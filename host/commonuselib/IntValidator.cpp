#include "IntValidator.h"

namespace COMMONUSELIB {

namespace {

int digitCount(qint64 value)
{
    int count = 1;
    while (value >= 10) {
        value /= 10;
        ++count;
    }
    return count;
}

} // namespace

IntValidator::IntValidator(int bottom, int top, QObject *parent)
    : QIntValidator(bottom, top, parent)
{ }

IntValidator::~IntValidator() = default;

QValidator::State IntValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos)
    const qint64 low = bottom();
    const qint64 high = top();
    if (input.isEmpty())
        return Intermediate;

    const bool negative = input.at(0) == QLatin1Char('-');
    const QStringRef digits = input.midRef(negative ? 1 : 0);
    if (negative && low >= 0)
        return Invalid;
    if (!negative && high < 0)
        return Invalid; // only negative values can be valid
    if (digits.isEmpty())
        return Intermediate; // a lone '-'
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Invalid;
    }
    if (digits.at(0) == QLatin1Char('0') && (digits.size() > 1 || negative))
        return Invalid;

    // The largest magnitude that can be valid on this side of zero.
    const qint64 limit = negative ? -low : high;
    const int maxDigits = digitCount(limit);
    if (digits.size() > maxDigits)
        return Invalid;
    const qint64 magnitude = digits.toLongLong();
    const qint64 value = negative ? -magnitude : magnitude;
    if (value >= low && value <= high)
        return Acceptable;
    if (magnitude == 0)
        return Invalid; // "0" cannot be continued

    // Can digits typed after it reach the range? With n more digits the magnitude lies in
    // [magnitude * 10^n, magnitude * 10^n + 10^n - 1].
    qint64 from = magnitude;
    qint64 to = magnitude;
    for (int length = digits.size(); length < maxDigits; ++length) {
        from = from * 10;
        to = to * 10 + 9;
        const qint64 first = negative ? -to : from;
        const qint64 last = negative ? -from : to;
        if (last >= low && first <= high)
            return Intermediate;
    }
    return Invalid;
}

void IntValidator::fixup(QString &input) const
{
    // Nothing is changed behind the user's back.
    Q_UNUSED(input)
}

} // namespace COMMONUSELIB
