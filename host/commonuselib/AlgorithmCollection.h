// Small conversions shared by the host's widgets and plug-ins.
#pragma once

#include "lumohost_export.h"

#include <QtGlobal>

namespace COMMONUSELIB {

class LUMOHOST_EXPORT AlgorithmCollection
{
public:
    // Converts the zero-terminated UTF-8 text src into GBK in dst, a buffer of size bytes:
    // at most size - 1 bytes and a terminating zero; a character that does not fit whole is
    // left out with everything after it. src and dst may be the same buffer. Characters
    // that GBK lacks become '?'. Does nothing when a pointer is null or size <= 0.
    // Uses the "GBK" codec, or the local 8-bit codec where that is missing.
    static void UTF8ToGBK(const char *src, char *dst, int size);

private:
    AlgorithmCollection() = delete;
};

} // namespace COMMONUSELIB
