#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

using Root = platform::FolderDialog::Root;
static const char* kTitle = "適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい";

// Paths: "{R}" is a temporary tree holding the folder "start".
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
        auto row = [](const char* name, const PickCase& pick) { QTest::newRow(name) << pick; };
        row("desktop", {&F::ReferDesktop, &F::DontNetwork, Root::Desktop, "", s, s});
        row("programs", {&F::ReferPrograms, &F::AddStatus, Root::Programs, "", s, s});
        row("documents", {&F::ReferPersonal, &F::InvalidItem, Root::Documents, "", s, s});
        row("favourites", {&F::ReferFavorites, &F::AddFileText, Root::Favorites, "", s, s});
        row("start menu", {&F::ReferStartMenu, &F::RealFolderOnly, Root::StartMenu, "", s, s});
        row("drives", {&F::ReferDrives, &F::NetworkOnlySelect, Root::Computer, "", "/", "/"});
        row("cancelled", {&F::ReferDesktop, &F::RealFolderOnly, Root::Desktop, "", "", ""});
        row("files shown", {&F::ReferDesktop, &F::AllResource, Root::Desktop, "", s, s, true});
        // Only a computer or a printer could be confirmed; neither has a folder path.
        row("only computers", {&F::ReferDesktop, &F::NetworkOnly, Root::Desktop, "", s, ""});
        row("only printers", {&F::ReferNetwork, &F::NetworkPrintOnly, Root::Network, "", s, ""});
        row("user folder", {nullptr, &F::AddStatus, Root::Folder, s, s, s});
        row("user folder missing", {nullptr, &F::AddStatus, Root::Folder, "{R}/gone", s, ""});
        row("user folder empty", {nullptr, &F::AddStatus, Root::Folder, "", s, ""});
    }

    void refer()
    {
        QFETCH(PickCase, row);
        TempTree tree;
        tree.folder("start");
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
                     std::tuple(row.root, tree.expand(row.start), std::string(kTitle), row.showFiles,
                                std::uint64_t(42)));
    }
};

QTEST_GUILESS_MAIN(FolderPickerTest)
#include "tst_folder_picker.moc"
