#include "ProcessSingleton.h"

#include <QCoreApplication>
#include <QThread>

namespace LUMO_DIGITALMATRIX_MODULE {

void adoptByApplication(QObject *object)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!object || !app)
        return;
    if (object->thread() != app->thread())
        object->moveToThread(app->thread());
    object->setParent(app);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
