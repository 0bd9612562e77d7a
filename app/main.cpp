#include "CTorvex2App.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CTorvex2App app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return 1;
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
