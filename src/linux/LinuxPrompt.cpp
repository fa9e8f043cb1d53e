#include "LinuxPrompt.h"

#include "MessageBoxW.h"

namespace LUMO_DIGITALMATRIX_MODULE {

void LinuxPrompt::notice(QWidget *parent, const QString &text)
{
    COMMONUSELIB::MessageBoxW::infomation(parent, tr("Prompt"), text,
                                          COMMONUSELIB::MessageBoxW::NoticeButtons);
}

bool LinuxPrompt::ask(QWidget *parent, const QString &text)
{
    return COMMONUSELIB::MessageBoxW::infomation(parent, tr("Prompt"), text,
                                                 COMMONUSELIB::MessageBoxW::YesNoButtons)
            == 1;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
