#include "ServerButton.h"

namespace LUMO_DIGITALMATRIX_MODULE {

ServerButton::ServerButton(QWidget *parent)
    : QPushButton(parent)
{ }

ServerButton::~ServerButton() = default;

void ServerButton::setServerInfo(const UServerInfo &server)
{
    info.id = server.id;
    info.name = server.name;
    info.ip = server.ip;
    info.user = server.user;
    info.password = server.password;
    info.port = server.port;
    info.type = server.type;
    setText(info.name);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
