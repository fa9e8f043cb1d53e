#include "FixedText.h"

#include <cstring>

namespace LUMO_DIGITALMATRIX_MODULE {

void FixedText::write(char *field, std::size_t size, const QByteArray &text)
{
    if (!field || size == 0)
        return;
    const std::size_t n = std::min<std::size_t>(std::size_t(text.size()), size - 1);
    if (n > 0)
        std::memcpy(field, text.constData(), n);
    std::memset(field + n, 0, size - n);
}

void FixedText::writeLocal(char *field, std::size_t size, const QString &text)
{
    write(field, size, text.toLocal8Bit());
}

QByteArray FixedText::read(const char *field, std::size_t size)
{
    if (!field || size == 0)
        return QByteArray();
    const void *end = std::memchr(field, 0, size);
    const std::size_t n = end ? std::size_t(static_cast<const char *>(end) - field) : size;
    return QByteArray(field, int(n));
}

} // namespace LUMO_DIGITALMATRIX_MODULE
