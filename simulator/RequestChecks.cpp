#include "RequestChecks.h"

#include "MatrixProtocol.h"
#include "PayloadReader.h"

#include <cstring>

namespace MatrixSim {

bool isTerminated(const char *field, int size)
{
    return std::memchr(field, 0, std::size_t(size)) != nullptr;
}

bool isValidChannelInfo(const _ST_ChnInfo &record)
{
    return isTerminated(record.channelName, sizeof(record.channelName))
            && isTerminated(record.deviceText5, sizeof(record.deviceText5))
            && isTerminated(record.ipAddress, sizeof(record.ipAddress))
            && isTerminated(record.account, sizeof(record.account))
            && isTerminated(record.password, sizeof(record.password));
}

bool isValidCellChannel(const CellChannelRecord &record)
{
    if (!isTerminated(record.deviceAddress, sizeof(record.deviceAddress))
        || !isTerminated(record.deviceText1, sizeof(record.deviceText1))
        || !isTerminated(record.deviceText5, sizeof(record.deviceText5))
        || !isTerminated(record.user, sizeof(record.user))
        || !isTerminated(record.password, sizeof(record.password))
        || !isTerminated(record.protocol, sizeof(record.protocol))) {
        return false;
    }
    return std::strcmp(record.protocol, "onvif") == 0 || std::strcmp(record.protocol, "qbz") == 0;
}

bool isValidSplit(int split, bool allowLarge)
{
    switch (split) {
    case 1:
    case 4:
    case 9:
    case 16:
        return true;
    case 25:
    case 36:
        return allowLarge;
    default:
        return false;
    }
}

bool readInts(MatrixProtocol::PayloadReader &reader, std::initializer_list<qint32 *> values)
{
    for (qint32 *value : values) {
        if (!reader.getInt32(*value))
            return false;
    }
    return reader.atEnd();
}

void refuse(RequestOutcome &out, qint32 code, const QString &why)
{
    out.result = code;
    if (!out.summary.isEmpty())
        out.summary += QLatin1Char(' ');
    out.summary += QLatin1Char('(') + why + QLatin1Char(')');
}

bool readIdentify(MatrixProtocol::PayloadReader &reader, QByteArray *host, RequestOutcome &out)
{
    QByteArray name;
    if (!reader.getText(name, MatrixProtocol::MaxHostText) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("malformed host name"));
        return false;
    }
    *host = name;
    out.summary = QStringLiteral("host=\"%1\"").arg(printableText(name));
    return true;
}

bool readAccount(MatrixProtocol::PayloadReader &reader, QByteArray *user, QByteArray *password,
                 const char *request, RequestOutcome &out)
{
    if (!reader.getText(*user, MatrixProtocol::MaxAccountText)
        || !reader.getText(*password, MatrixProtocol::MaxAccountText) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument,
               QStringLiteral("malformed %1").arg(QLatin1String(request)));
        return false;
    }
    if (!out.summary.isEmpty())
        out.summary += QLatin1Char(' ');
    out.summary += QStringLiteral("user=\"%1\"").arg(printableText(*user));
    return true;
}

QString printableText(const QByteArray &text)
{
    constexpr int MaxShown = 64;
    QString shown = QString::fromUtf8(text);
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = QLatin1Char('?');
    }
    if (shown.size() > MaxShown)
        shown = shown.left(MaxShown) + QStringLiteral("...");
    return shown;
}

} // namespace MatrixSim
