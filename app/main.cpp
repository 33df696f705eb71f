#include "app/ApplicationSetup.h"
#include "app/frmMain.h"
#include "platform/MemoryTuning.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::preferLargeHeapPages();
    QApplication application(argc, argv);
    setUpApplication(application);
    frmMain window;
    window.show();
    return QApplication::exec();
}
