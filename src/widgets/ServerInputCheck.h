#pragma once

#include "digitalmatrix_export.h"

#include "DataCoreTypes.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QString>

class QLineEdit;
class QWidget;

namespace LUMO_DIGITALMATRIX_MODULE {

// What the two server dialogs check before they store a matrix server: the required fields
// and that no other server of the same kind has the name or the address already.
class DIGITALMATRIX_EXPORT ServerInputCheck
{
    Q_DECLARE_TR_FUNCTIONS(LUMO_DIGITALMATRIX_MODULE::ServerInputCheck)

public:
    enum Field { NoField, NameField, IpField, PortField, UserField };
    struct Input
    {
        QString name;
        QString ip; // "" or "0.0.0.0": none entered
        QString port;
        bool needsUser = false;
        QString user;
    };
    // The first problem found: the field to point at and what to say there; NoField and an
    // empty text when the input may be stored.
    struct Problem
    {
        Field field = NoField;
        QString text;
    };

    // The servers of the data centre of serverType (a SERVERTYPE_*), but the one edited.
    static QList<UServerInfo> otherServers(int serverType, const QString &editedId);
    static Problem check(const Input &input, const QList<UServerInfo> &others);
    // check(), and the problem's hint at its field of fields: true when there is none.
    static bool passes(const Input &input, const QList<UServerInfo> &others,
                       const QMap<Field, QWidget *> &fields);
    // The data centre takes no ' and no \: they leave the field as soon as they are typed,
    // with a hint at the field.
    static void keepStorable(QLineEdit *edit, const QString &text);
};

} // namespace LUMO_DIGITALMATRIX_MODULE
