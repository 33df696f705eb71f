// The program's main window as tst_hanging_share drives it in a process of its own, so
// that the end of the program can be seen from outside: it copies SOURCE into DEST and
// is closed once the file STARTED exists (a read of the share hangs from then on). Each
// message it shows is printed on standard output and answered with OK.
//   hanging_share_program SOURCE DEST STARTED SETTINGS
#include "app/ApplicationSetup.h"
#include "app/frmMain.h"
#include "platform/qt/QtUserServices.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 2;
    QApplication application(argc, argv);
    setUpApplication(application);
    platform::QtUserServices services;
    frmMain window(services.services(), nullptr, argv[4]);
    services.setOwnerWindow(&window);
    services.onMessage = [](QMessageBox& box) {
        std::printf("%s\n", box.text().toUtf8().constData());
        std::fflush(stdout);
        QTimer::singleShot(0, &box, &QMessageBox::accept);
    };
    window.txtFolder[frmMain::Source]->setText(QString::fromLocal8Bit(argv[1]));
    window.txtFolder[frmMain::Destination]->setText(QString::fromLocal8Bit(argv[2]));
    window.show();
    // Looked for at the pace of a user's click; the window's own close does the rest.
    const std::string started = argv[3];
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (::access(started.c_str(), F_OK) == 0) {
            watch.stop();
            window.close();
        }
    });
    watch.start();
    QTimer::singleShot(0, window.cmdStart, &QPushButton::click);
    return QApplication::exec();
}
