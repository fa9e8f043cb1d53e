// A tool built against the module's private headers: reaches a class of the wall.
#include <MirrorWidget.h>

#include <cstdio>
#include <cstring>

int main()
{
    const char *name = LUMO_DIGITALMATRIX_MODULE::MirrorWidget::staticMetaObject.className();
    std::printf("%s\n", name);
    return std::strstr(name, "MirrorWidget") ? 0 : 1;
}
