#include "platform/qt/QtFolderDialog.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;
using Root = platform::FolderDialog::Root;

// Paths: "{R}" is a temporary tree holding the home folder.
struct DialogCase {
    Root root;
    std::string opensAt, pick, result; // pick: chosen in the dialog; empty to cancel it
    bool showFilesAndOwned = false;
};
Q_DECLARE_METATYPE(DialogCase)

class QtFolderDialogTest : public QObject {
    Q_OBJECT

    TempTree m_tree;

    QString expanded(const std::string& path) const { return QString::fromStdString(m_tree.expand(path)); }

private slots:
    void initTestCase()
    {
        m_tree.folder("start/写真");
        m_tree.file("start/a.jpg");
        m_tree.folder("home/文書");
        m_tree.file("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/文書\"\n");
        qputenv("HOME", QByteArray::fromStdString(m_tree.path("home")));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }

    void chooseFolder_data()
    {
        QTest::addColumn<DialogCase>("row");
        const std::string start = "{R}/start";
        QTest::newRow("folder chosen") << DialogCase{Root::Folder, start, start + "/写真", start + "/写真"};
        QTest::newRow("the root") << DialogCase{Root::Folder, start, "/", "/"};
        QTest::newRow("files listed, owned by a window") << DialogCase{Root::Folder, start, start, start, true};
        QTest::newRow("desktop: the home folder") << DialogCase{Root::Desktop, "{R}/home", "", ""};
        QTest::newRow("documents") << DialogCase{Root::Documents, "{R}/home/文書", "", ""};
        QTest::newRow("start menu without its folder: home") << DialogCase{Root::StartMenu, "{R}/home", "", ""};
    }

    void chooseFolder()
    {
        QFETCH(DialogCase, row);
        QWidget owner;
        owner.show();
        const bool owned = row.showFilesAndOwned;
        const platform::FolderDialog::Request request{row.root, m_tree.path("start"), "フォルダを選択", owned,
                                                      owned ? owner.winId() : 0};
        QStringList seen;
        QMetaObject::invokeMethod( // runs inside the dialog's own event loop, once it is open
            this,
            [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QPushButton* choose = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
                seen << dialog->windowTitle() << dialog->directory().absolutePath() << choose->text()
                     << QVariant(!dialog->testOption(QFileDialog::ShowDirsOnly)).toString()
                     << QVariant(dialog->parentWidget() == (owned ? &owner : nullptr)).toString();
                dialog->setDirectory(expanded(row.pick));
                dialog->selectFile(expanded(row.pick));
                row.pick.empty() ? dialog->reject() : choose->click();
            },
            Qt::QueuedConnection);
        QCOMPARE(platform::QtFolderDialog().chooseFolder(request), m_tree.expand(row.result));
        QCOMPARE(seen, (QStringList{u"フォルダを選択"_s, expanded(row.opensAt), u"選択(&C)"_s,
                                    QVariant(owned).toString(), u"true"_s}));
    }
};

QUORVANE_GUI_TEST_MAIN(QtFolderDialogTest)

#include "tst_qt_folder_dialog.moc"
