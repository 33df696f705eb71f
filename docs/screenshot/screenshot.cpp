// Renders the main window as a user first sees it, with example inputs, into a PNG file.
//   screenshot <file.png>      (run on a real display or a virtual one, see docs/)
#include "app/ApplicationSetup.h"
#include "app/frmMain.h"
#include "platform/qt/QtUserServices.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot <file.png>\n");
        return 2;
    }
    setUpApplication(application);
    platform::QtUserServices userServices;
    frmMain window(userServices.services());
    window.txtFolder[frmMain::Source]->setText(QStringLiteral("/home/user/写真/2024"));
    window.txtFolder[frmMain::Destination]->setText(QStringLiteral("/home/user/まとめ"));
    window.txtFileType->setText(QStringLiteral("jpg,png"));
    window.show();
    window.txtFolder[frmMain::Source]->setFocus();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
