#include "AlgorithmCollection.h"

#include <QByteArray>
#include <QString>
#include <QTextCodec>

#include <cstring>

namespace COMMONUSELIB {

namespace {

QTextCodec *gbkCodec()
{
    static QTextCodec *const codec = [] {
        QTextCodec *gbk = QTextCodec::codecForName("GBK");
        return gbk ? gbk : QTextCodec::codecForLocale();
    }();
    return codec;
}

} // namespace

void AlgorithmCollection::UTF8ToGBK(const char *src, char *dst, int size)
{
    if (!src || !dst || size <= 0)
        return;
    // Decoding copies the source, so dst may overlap it.
    const QString text = QString::fromUtf8(src);
    QTextCodec *codec = gbkCodec();
    const int room = size - 1;

    QByteArray encoded = codec->fromUnicode(text);
    if (encoded.size() > room) {
        // Too long: take whole characters (surrogate pairs kept together) while they fit.
        QByteArray fitting;
        fitting.reserve(room);
        for (int i = 0; i < text.size();) {
            int length = 1;
            if (text.at(i).isHighSurrogate() && i + 1 < text.size()
                && text.at(i + 1).isLowSurrogate())
                length = 2;
            const QByteArray bytes = codec->fromUnicode(text.constData() + i, length);
            if (fitting.size() + bytes.size() > room)
                break;
            fitting += bytes;
            i += length;
        }
        encoded = fitting;
    }
    std::memcpy(dst, encoded.constData(), static_cast<size_t>(encoded.size()));
    dst[encoded.size()] = '\0';
}

} // namespace COMMONUSELIB
