#include "ServerInputCheck.h"

#include "FieldHint.h"

#include "UserManagerCore.h"

#include <QLineEdit>

namespace LUMO_DIGITALMATRIX_MODULE {

QList<UServerInfo> ServerInputCheck::otherServers(int serverType, const QString &editedId)
{
    QList<UServerInfo> others;
    const QList<UServerInfo> servers = DATACore::UserManagerCore::instance()->GetServers(QString());
    for (const UServerInfo &server : servers) {
        if (server.type == serverType && (editedId.isEmpty() || server.id != editedId))
            others.append(server);
    }
    return others;
}

ServerInputCheck::Problem ServerInputCheck::check(const Input &input,
                                                  const QList<UServerInfo> &others)
{
    if (input.name.isEmpty())
        return {NameField, tr("Please enter digital matrix server name!")};
    if (input.ip.isEmpty() || input.ip == QLatin1String("0.0.0.0"))
        return {IpField, tr("Please enter digital matrix server ip!")};
    if (input.port.isEmpty())
        return {PortField, tr("Please enter digital matrix server port!")};
    if (input.needsUser && input.user.isEmpty())
        return {UserField, tr("Please enter user name!")};
    for (const UServerInfo &other : others) {
        if (other.name == input.name)
            return {NameField, tr("The name of server has exsit!")};
        if (other.ip == input.ip)
            return {IpField, tr("The IP of server has exsit!")};
    }
    return {};
}

bool ServerInputCheck::passes(const Input &input, const QList<UServerInfo> &others,
                              const QMap<Field, QWidget *> &fields)
{
    const Problem problem = check(input, others);
    if (problem.field == NoField)
        return true;
    FieldHint::show(fields.value(problem.field), problem.text);
    return false;
}

void ServerInputCheck::keepStorable(QLineEdit *edit, const QString &text)
{
    if (!text.contains(QLatin1Char('\'')) && !text.contains(QLatin1Char('\\')))
        return;
    FieldHint::show(edit, tr("Input can't be ' or \\ !"));
    QString cleaned = text;
    cleaned.remove(QLatin1Char('\'')).remove(QLatin1Char('\\'));
    edit->setText(cleaned);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
