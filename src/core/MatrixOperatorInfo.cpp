#include "MatrixOperatorInfo.h"

#include "MatrixServiceTypes.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstring>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

// A zero-terminated field that may lack its zero: never read beyond the field.
QByteArray fieldText(const char *field, std::size_t size)
{
    const void *end = std::memchr(field, 0, size);
    return QByteArray(field, end ? int(static_cast<const char *>(end) - field) : int(size));
}

// The texts are marked with QT_TRANSLATE_NOOP in this context where they are used.
QString trOperator(const char *text)
{
    return QCoreApplication::translate("LUMO_DIGITALMATRIX_MODULE::MatrixOperatorInfo", text);
}

} // namespace

MatrixOperatorInfo MatrixOperatorInfo::fromRecord(const MatrixOperatorRecord &record)
{
    MatrixOperatorInfo info;
    info.user = QString::fromUtf8(fieldText(record.user, sizeof(record.user)));
    info.host = QString::fromUtf8(fieldText(record.host, sizeof(record.host)));
    info.self = (record.flags & MatrixOperatorSelf) != 0;
    info.watching = (record.flags & MatrixOperatorWatching) != 0;
    if (record.sinceMs > 0)
        info.since = QDateTime::fromMSecsSinceEpoch(record.sinceMs).toLocalTime();
    return info;
}

QString MatrixOperatorInfo::shownHost() const
{
    QString shown = host;
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char('?');
    }
    if (shown.size() > MaxShownHost)
        shown = shown.left(MaxShownHost) + QStringLiteral("...");
    return shown;
}

QString MatrixOperatorInfo::shownTime() const
{
    return since.isValid() ? since.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

QString MatrixOperatorInfo::shownName() const
{
    const QString console = host.isEmpty()
            ? trOperator(QT_TRANSLATE_NOOP("LUMO_DIGITALMATRIX_MODULE::MatrixOperatorInfo",
                                           "an unnamed console"))
            : shownHost();
    if (user.isEmpty())
        return console;
    return trOperator(
                   QT_TRANSLATE_NOOP("LUMO_DIGITALMATRIX_MODULE::MatrixOperatorInfo", "%1 on %2"))
            .arg(user, console);
}

QString MatrixOperatorInfo::othersLine(const QList<MatrixOperatorInfo> &operators)
{
    QStringList others;
    for (const MatrixOperatorInfo &info : operators) {
        if (info.self)
            continue;
        others.append(info.watching
                              ? trOperator(QT_TRANSLATE_NOOP(
                                                   "LUMO_DIGITALMATRIX_MODULE::MatrixOperatorInfo",
                                                   "%1 (watching)"))
                                        .arg(info.shownName())
                              : info.shownName());
    }
    if (others.isEmpty())
        return QString();
    return trOperator(QT_TRANSLATE_NOOP("LUMO_DIGITALMATRIX_MODULE::MatrixOperatorInfo",
                                        "Also on this matrix: %1"))
            .arg(others.join(QStringLiteral(", ")));
}

const MatrixOperatorInfo *MatrixOperatorInfo::holder(const QList<MatrixOperatorInfo> &operators)
{
    for (const MatrixOperatorInfo &info : operators) {
        if (!info.self && !info.watching)
            return &info;
    }
    return nullptr;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
