#include "DataCoreTypes.h"

#include <QMetaType>

namespace {
// The data centre's server signals may cross threads: make their types known
// to the meta-type system as soon as the library is loaded.
const int registered = [] {
    qRegisterMetaType<UServerInfo>("UServerInfo");
    qRegisterMetaType<SERVERTYPE>("SERVERTYPE");
    return 0;
}();
} // namespace
