#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

using Root = platform::FolderDialog::Root;
static const char* kTitle = "適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい";

// Paths: "{R}" is a temporary tree holding the folder "start" and the file "file.txt".
struct PickCase {
    std::string (clsFileFolder::*method)(); // null for ReferUser(start)
    void (clsFileFolder::*option)(bool); // set before the dialog opens
    Root root;
    std::string start, answer, result; // answer: of the dialog; empty to cancel it
    bool showFiles = false;
};
Q_DECLARE_METATYPE(PickCase)

class FolderPickerTest : public QObject {
    Q_OBJECT

private slots:
    void refer_data()
    {
        using F = clsFileFolder;
        const std::string s = "{R}/start";
        QTest::addColumn<PickCase>("row");
        QTest::newRow("desktop") << PickCase { &F::ReferDesktop, &F::DontNetwork, Root::Desktop, "", s, s };
        QTest::newRow("programs") << PickCase { &F::ReferPrograms, &F::AddStatus, Root::Programs, "", s, s };
        QTest::newRow("documents") << PickCase { &F::ReferPersonal, &F::InvalidItem, Root::Documents, "", s,
            s };
        QTest::newRow("favourites") << PickCase { &F::ReferFavorites, &F::AddFileText, Root::Favorites, "", s,
            s };
        QTest::newRow("start menu") << PickCase { &F::ReferStartMenu, &F::RealFolderOnly, Root::StartMenu, "",
            s, s };
        QTest::newRow("drives") << PickCase { &F::ReferDrives, &F::NetworkOnlySelect, Root::Computer, "", "/",
            "/" };
        QTest::newRow("network") << PickCase { &F::ReferNetwork, &F::DontNetwork, Root::Network, "", s, s };
        QTest::newRow("cancelled") << PickCase { &F::ReferDesktop, &F::RealFolderOnly, Root::Desktop, "", "",
            "" };
        QTest::newRow("files shown") << PickCase { &F::ReferDesktop, &F::AllResource, Root::Desktop, "", s, s,
            true };
        // Only a computer or a printer could be confirmed; neither has a folder path.
        QTest::newRow("only computers")
            << PickCase { &F::ReferDesktop, &F::NetworkOnly, Root::Desktop, "", s, "" };
        QTest::newRow("only printers")
            << PickCase { &F::ReferNetwork, &F::NetworkPrintOnly, Root::Network, "", s, "" };
        QTest::newRow("user folder") << PickCase { nullptr, &F::AddStatus, Root::Folder, s, s, s };
        QTest::newRow("user folder missing")
            << PickCase { nullptr, &F::AddStatus, Root::Folder, "{R}/gone", s, "" };
        QTest::newRow("user folder is a file")
            << PickCase { nullptr, &F::AddStatus, Root::Folder, "{R}/file.txt", s, "" };
        QTest::newRow("user folder empty") << PickCase { nullptr, &F::AddStatus, Root::Folder, "", s, "" };
    }

    void refer()
    {
        QFETCH(PickCase, row);
        TempTree tree;
        tree.folder("start");
        tree.file("file.txt");
        FakeUser user;
        user.operations.windows.insert(42);
        user.folderAnswers.push_back(tree.expand(row.answer));
        clsFileFolder toolkit(user.services());
        (toolkit.*row.option)(true);
        toolkit.Target(42); // the dialog's owner
        QCOMPARE(row.method ? (toolkit.*row.method)() : toolkit.ReferUser(tree.expand(row.start)),
            tree.expand(row.result));
        const bool refused = row.root == Root::Folder && row.result.empty(); // no such folder: no dialog
        QCOMPARE(user.shown, refused ? Strings { "存在しないフォルダです" } : Strings {});
        QCOMPARE(user.folderRequests.size(), std::size_t(refused ? 0 : 1));
        for (const platform::FolderDialog::Request& r : user.folderRequests)
            QCOMPARE(std::tuple(r.root, r.folder, r.title, r.showFiles, r.owner),
                std::tuple(
                    row.root, tree.expand(row.start), std::string(kTitle), row.showFiles, std::uint64_t(42)));
    }
};

QTEST_GUILESS_MAIN(FolderPickerTest)
#include "tst_folder_picker.moc"
