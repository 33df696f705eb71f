#include "app/ApplicationSetup.h"
#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "platform/MemoryTuning.h"
#include "platform/qt/QtUserServices.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::preferLargeHeapPages();
    // A subcommand runs headless: no application object, so no display is looked for.
    if (isCommandLine(argc, argv))
        return runCommandLine(argc, argv);
    QApplication application(argc, argv);
    setUpApplication(application);
    platform::QtUserServices userServices;
    frmMain window(userServices.services());
    userServices.setOwnerWindow(&window);
    window.show();
    return QApplication::exec();
}
