// Renders the program's windows for the documentation into PNG files: the main window
// as a user first sees it, the run window in the middle of a copy, and its report.
//   screenshot <main.png> <progress.png> <report.png>     (see docs/make-screenshot.sh)
#include "app/ApplicationSetup.h"
#include "app/RunProgressWindow.h"
#include "app/frmMain.h"
#include "platform/OperationTexts.h"
#include "platform/qt/QtUserServices.h"
#include "platform/qt/Translations.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <cerrno>
#include <cstdio>

namespace {

// A copy of 2,400 photos of 3 MB each, 37 % of the way and 1 minute 12 seconds in.
run::RunReport copyHalfWay()
{
    run::RunReport report;
    report.destFolder = "/home/user/まとめ";
    report.started = std::chrono::steady_clock::now() - std::chrono::seconds(72);
    for (int i = 0; i < 2400; ++i) {
        const std::string name = "IMG_" + std::to_string(1000 + i) + ".jpg";
        run::FileRecord& file = report.files.emplace_back();
        file.source = "/home/user/写真/2024/" + std::to_string(i / 200 + 1) + "月/" + name;
        file.dest = report.destFolder + "/" + name;
        file.bytes = 3u << 20;
    }
    report.bytesTotal = 2400ull * (3u << 20);
    report.filesFinished = 888;
    report.bytesFinished = 888ull * (3u << 20);
    report.currentBytesDone = 1u << 20;
    for (std::size_t i = 0; i < report.filesFinished; ++i)
        report.files[i].outcome = run::FileOutcome::Done;
    return report;
}

bool save(QWidget& window, const char* file)
{
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(file));
}

} // namespace

int main(int argc, char* argv[])
{
    // In the language of the environment's locale, as the program shows them.
    platform::loadTranslations();
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: screenshot <main.png> <progress.png> <report.png>\n");
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
    bool saved = save(window, argv[1]);

    RunProgressWindow& runWindow = window.runWindow();
    runWindow.setShowDelay(std::chrono::milliseconds(0));
    run::RunReport report = copyHalfWay();
    runWindow.runStarted(report);
    runWindow.runProgressed(report);
    saved = save(runWindow, argv[2]) && saved;

    // Stopped there, after two files the disk had no room for.
    for (std::size_t i : {report.filesFinished - 2, report.filesFinished - 1}) {
        report.files[i].outcome = run::FileOutcome::Failed;
        report.files[i].reason
            = platform::operation_texts::failureLine(platform::operation_texts::Verb::Copy, ENOSPC);
    }
    report.files[10].renamed = true;
    report.stopped = report.ended = true;
    report.finished = std::chrono::steady_clock::now();
    runWindow.runEnded(report, false);
    return save(runWindow, argv[3]) && saved ? 0 : 1;
}
