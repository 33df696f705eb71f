#include "app/ApplicationSetup.h"
#include "app/CommandLine.h"
#include "app/StartRequest.h"
#include "app/frmMain.h"
#include "platform/MemoryTuning.h"
#include "platform/qt/QtUserServices.h"
#include "platform/qt/Translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::preferLargeHeapPages();
    // First of all: the command line's messages are made before any application object.
    platform::loadTranslations();
    // Decided before any application object exists: a subcommand runs headless, and bad
    // usage is told without looking for a display.
    const StartRequest start = readStartRequest(argc, argv);
    if (start.kind == StartRequest::Kind::UsageError)
        return printUsageError(start.error);
    if (start.kind == StartRequest::Kind::CommandLine)
        return runCommandLine(argc, argv);
    QApplication application(argc, argv);
    setUpApplication(application);
    platform::QtUserServices userServices;
    frmMain window(userServices.services());
    userServices.setOwnerWindow(&window);
    window.show();
    window.openWithFolders(start.source, start.dest);
    return QApplication::exec();
}
