#include "CTorvex2App.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The application has taken the user's locale; numbers are read and written in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    CTorvex2App app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return 1;
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
