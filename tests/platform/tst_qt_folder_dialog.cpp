#include "platform/qt/QtFolderDialog.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

using Root = platform::FolderDialog::Root;

// What the open dialog showed, read while it was open.
struct Seen {
    QString title;
    QString directory;
    QString acceptText;
    bool foldersOnly = false;
    QWidget* parent = nullptr;
};

} // namespace

class QtFolderDialogTest : public QObject {
    Q_OBJECT

private slots:
    void chooseFolder_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("pick");
        QTest::addColumn<bool>("showFiles");
        QTest::addColumn<bool>("owned");
        QTest::addColumn<std::string>("result");
        QTest::newRow("folder chosen") << u"start"_s << u"start/写真"_s << false << false << std::string("{R}/start/写真");
        QTest::newRow("cancelled") << u"start"_s << QString() << false << false << std::string();
        QTest::newRow("the root") << u"start"_s << u"/"_s << false << false << std::string("/");
        QTest::newRow("files listed too") << u"start"_s << u"start"_s << true << false << std::string("{R}/start");
        QTest::newRow("owned by the main window") << u"start"_s << u"start"_s << false << true << std::string("{R}/start");
    }

    void chooseFolder()
    {
        QFETCH(QString, start);
        QFETCH(QString, pick);
        QFETCH(bool, showFiles);
        QFETCH(bool, owned);
        QFETCH(std::string, result);
        TempTree tree;
        tree.folder("start/写真");
        tree.file("start/a.jpg");
        const QString root = QString::fromStdString(tree.root());
        if (result.rfind("{R}", 0) == 0)
            result.replace(0, 3, tree.root());
        QWidget owner;
        owner.show();

        platform::FolderDialog::Request request;
        request.root = Root::Folder;
        request.folder = tree.path(start.toStdString());
        request.title = "適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい";
        request.showFiles = showFiles;
        request.owner = owned ? owner.winId() : 0;

        // Runs inside the dialog's own event loop, once it is open.
        Seen seen;
        QMetaObject::invokeMethod(
            this,
            [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr)
                    return;
                seen.title = dialog->windowTitle();
                seen.directory = dialog->directory().absolutePath();
                seen.foldersOnly = dialog->testOption(QFileDialog::ShowDirsOnly);
                seen.parent = dialog->parentWidget();
                QPushButton* choose = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
                seen.acceptText = choose->text();
                if (pick.isEmpty()) {
                    dialog->reject();
                    return;
                }
                const QString path = pick.startsWith(u'/') ? pick : root + u'/' + pick;
                dialog->setDirectory(path);
                dialog->selectFile(path);
                choose->click();
            },
            Qt::QueuedConnection);

        platform::QtFolderDialog folders;
        QCOMPARE(folders.chooseFolder(request), result);
        QCOMPARE(seen.title, QString::fromStdString(request.title));
        QCOMPARE(seen.directory, QString::fromStdString(request.folder));
        QCOMPARE(seen.acceptText, u"選択(&C)"_s);
        QCOMPARE(seen.foldersOnly, !showFiles);
        QCOMPARE(seen.parent, owned ? &owner : nullptr);
    }

    void standardPlaces_data()
    {
        QTest::addColumn<Root>("root");
        QTest::addColumn<QString>("opensAt");
        QTest::newRow("desktop: the home folder") << Root::Desktop << u"{H}"_s;
        QTest::newRow("documents") << Root::Documents << u"{H}/文書"_s;
        QTest::newRow("drives: the file system's root") << Root::Computer << u"/"_s;
        QTest::newRow("network: the home folder") << Root::Network << u"{H}"_s;
        QTest::newRow("start menu without its folder: the home folder") << Root::StartMenu << u"{H}"_s;
    }

    void standardPlaces()
    {
        QFETCH(Root, root);
        QFETCH(QString, opensAt);
        TempTree tree;
        tree.folder("home/文書");
        tree.file("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/文書\"\n");
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        const QByteArray data = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QByteArray::fromStdString(tree.path("home")));
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(tree.path("home/.local/share")));

        QString seen;
        QMetaObject::invokeMethod(
            this,
            [&] {
                if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                    seen = dialog->directory().absolutePath();
                    dialog->reject();
                }
            },
            Qt::QueuedConnection);
        platform::FolderDialog::Request request;
        request.root = root;
        platform::QtFolderDialog folders;
        const std::string chosen = folders.chooseFolder(request);

        qputenv("HOME", home);
        if (!config.isEmpty())
            qputenv("XDG_CONFIG_HOME", config);
        if (!data.isEmpty())
            qputenv("XDG_DATA_HOME", data);
        else
            qunsetenv("XDG_DATA_HOME");
        QCOMPARE(chosen, std::string());
        QCOMPARE(seen, opensAt.replace(u"{H}"_s, QString::fromStdString(tree.path("home"))));
    }
};

Q_DECLARE_METATYPE(Root)

QUORVANE_GUI_TEST_MAIN(QtFolderDialogTest)

#include "tst_qt_folder_dialog.moc"
