#pragma once

#include "digitalmatrix_export.h"

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace LUMO_DIGITALMATRIX_MODULE {

// Texts in the fixed-size fields of matrix-service records.
class DIGITALMATRIX_EXPORT FixedText
{
public:
    // Copies text into a field of size bytes: at most size - 1 bytes, then zeros up to
    // the end of the field. A field of size 0 is left alone.
    static void write(char *field, std::size_t size, const QByteArray &text);
    // Local 8-bit text of a QString, as the matrix service takes it.
    static void writeLocal(char *field, std::size_t size, const QString &text);
    // Reads a field up to its first zero, never past its size.
    static QByteArray read(const char *field, std::size_t size);

    template<std::size_t N>
    static void write(char (&field)[N], const QByteArray &text)
    {
        write(field, N, text);
    }
    template<std::size_t N>
    static void writeLocal(char (&field)[N], const QString &text)
    {
        writeLocal(field, N, text);
    }
    template<std::size_t N>
    static QByteArray read(const char (&field)[N])
    {
        return read(field, N);
    }
};

} // namespace LUMO_DIGITALMATRIX_MODULE
