#include "app/ApplicationSetup.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    setUpApplication(application);
    frmMain window;
    window.show();
    return QApplication::exec();
}
