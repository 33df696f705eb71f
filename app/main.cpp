#include "app/ApplicationSetup.h"
#include "app/frmMain.h"
#include "platform/qt/QtUserServices.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    setUpApplication(application);
    platform::QtUserServices userServices;
    frmMain window(userServices.services());
    userServices.setOwnerWindow(&window);
    window.show();
    return QApplication::exec();
}
