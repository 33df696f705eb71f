#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <array>

namespace {

using Root = platform::FolderDialog::Root;

const std::string kTitle = "適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい";
const std::string kNoSuchFolder = "存在しないフォルダです";

// The nine options in the order of their bits.
struct Option {
    bool (clsFileFolder::*read)() const;
    void (clsFileFolder::*write)(bool);
};
const std::array<Option, 9> kOptions{{
    {&clsFileFolder::RealFolderOnly, &clsFileFolder::RealFolderOnly},
    {&clsFileFolder::DontNetwork, &clsFileFolder::DontNetwork},
    {&clsFileFolder::AddStatus, &clsFileFolder::AddStatus},
    {&clsFileFolder::NetworkOnlySelect, &clsFileFolder::NetworkOnlySelect},
    {&clsFileFolder::AddFileText, &clsFileFolder::AddFileText},
    {&clsFileFolder::InvalidItem, &clsFileFolder::InvalidItem},
    {&clsFileFolder::NetworkOnly, &clsFileFolder::NetworkOnly},
    {&clsFileFolder::NetworkPrintOnly, &clsFileFolder::NetworkPrintOnly},
    {&clsFileFolder::AllResource, &clsFileFolder::AllResource},
}};
enum OptionIndex { RealFolderOnly, DontNetwork, AddStatus, NetworkOnlySelect, AddFileText,
                   InvalidItem, NetworkOnly, NetworkPrintOnly, AllResource };

using Method = std::string (clsFileFolder::*)();
using Writes = QList<QPair<int, bool>>;

} // namespace

Q_DECLARE_METATYPE(Root)

class FolderPickerTest : public QObject {
    Q_OBJECT

private slots:
    void options_data()
    {
        // Writes as option index and value, in order; then what each of the nine reads.
        QTest::addColumn<Writes>("writes");
        QTest::addColumn<QList<int>>("setAfterwards");
        QTest::newRow("fresh object") << Writes{} << QList<int>{};
        QTest::newRow("each one alone") << Writes{{AllResource, true}} << QList<int>{AllResource};
        QTest::newRow("AllResource leaves RealFolderOnly")
            << Writes{{RealFolderOnly, true}, {AllResource, true}}
            << QList<int>{RealFolderOnly, AllResource};
        QTest::newRow("computer and printer together")
            << Writes{{NetworkOnly, true}, {NetworkPrintOnly, true}}
            << QList<int>{NetworkOnly, NetworkPrintOnly};
        QTest::newRow("clearing one leaves the others")
            << Writes{{DontNetwork, true}, {AddStatus, true}, {InvalidItem, true}, {AddStatus, false}}
            << QList<int>{DontNetwork, InvalidItem};
        QTest::newRow("writing a value twice")
            << Writes{{AddFileText, true}, {AddFileText, true}, {NetworkOnlySelect, false}}
            << QList<int>{AddFileText};
        Writes all;
        QList<int> every;
        for (int i = 0; i < 9; ++i) {
            all << QPair<int, bool>{i, true};
            every << i;
        }
        QTest::newRow("all nine") << all << every;
    }

    void options()
    {
        QFETCH(Writes, writes);
        QFETCH(QList<int>, setAfterwards);
        FakeUser user;
        clsFileFolder toolkit(user.services());
        for (const auto& [option, value] : writes)
            (toolkit.*kOptions[static_cast<std::size_t>(option)].write)(value);
        for (int i = 0; i < 9; ++i)
            QCOMPARE((toolkit.*kOptions[static_cast<std::size_t>(i)].read)(), setAfterwards.contains(i));
    }

    void refer_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<Root>("root");
        QTest::addColumn<QList<int>>("options");
        QTest::addColumn<std::string>("answer");
        QTest::addColumn<std::string>("result");
        QTest::addColumn<bool>("showFiles");
        const std::string chosen = "/home/u/写真";
        QTest::newRow("desktop") << 0 << Root::Desktop << QList<int>{RealFolderOnly} << chosen << chosen << false;
        QTest::newRow("programs") << 1 << Root::Programs << QList<int>{} << chosen << chosen << false;
        QTest::newRow("documents") << 2 << Root::Documents << QList<int>{} << chosen << chosen << false;
        QTest::newRow("favourites") << 3 << Root::Favorites << QList<int>{} << chosen << chosen << false;
        QTest::newRow("start menu") << 4 << Root::StartMenu << QList<int>{} << chosen << chosen << false;
        QTest::newRow("drives") << 5 << Root::Computer << QList<int>{} << std::string("/") << std::string("/") << false;
        QTest::newRow("network") << 6 << Root::Network << QList<int>{} << chosen << chosen << false;
        QTest::newRow("cancelled") << 0 << Root::Desktop << QList<int>{RealFolderOnly} << std::string() << std::string() << false;
        QTest::newRow("files shown") << 0 << Root::Desktop << QList<int>{AllResource} << chosen << chosen << true;
        QTest::newRow("only computers: no folder path")
            << 0 << Root::Desktop << QList<int>{NetworkOnly} << chosen << std::string() << false;
        QTest::newRow("only printers: no folder path")
            << 6 << Root::Network << QList<int>{NetworkPrintOnly} << chosen << std::string() << false;
    }

    void refer()
    {
        QFETCH(int, method);
        QFETCH(Root, root);
        QFETCH(QList<int>, options);
        QFETCH(std::string, answer);
        QFETCH(std::string, result);
        QFETCH(bool, showFiles);
        const std::array<Method, 7> methods{&clsFileFolder::ReferDesktop,   &clsFileFolder::ReferPrograms,
                                           &clsFileFolder::ReferPersonal,  &clsFileFolder::ReferFavorites,
                                           &clsFileFolder::ReferStartMenu, &clsFileFolder::ReferDrives,
                                           &clsFileFolder::ReferNetwork};
        FakeUser user;
        if (!answer.empty())
            user.folderAnswers.push_back(answer);
        clsFileFolder toolkit(user.services());
        for (int option : options)
            (toolkit.*kOptions[static_cast<std::size_t>(option)].write)(true);

        QCOMPARE((toolkit.*methods[static_cast<std::size_t>(method)])(), result);
        QCOMPARE(user.folderRequests.size(), std::size_t(1));
        const platform::FolderDialog::Request& request = user.folderRequests.front();
        QCOMPARE(request.root, root);
        QCOMPARE(request.title, kTitle);
        QCOMPARE(request.showFiles, showFiles);
        QCOMPARE(request.owner, std::uint64_t(0));
        QVERIFY(user.shown.empty());
    }

    void referUser_data()
    {
        QTest::addColumn<std::string>("start");
        QTest::addColumn<bool>("opens");
        QTest::newRow("existing folder") << std::string("{R}/start") << true;
        QTest::newRow("existing folder with trailing slash") << std::string("{R}/start/") << true;
        QTest::newRow("missing folder") << std::string("{R}/missing") << false;
        QTest::newRow("a file") << std::string("{R}/file.txt") << false;
        QTest::newRow("empty text") << std::string() << false;
    }

    void referUser()
    {
        QFETCH(std::string, start);
        QFETCH(bool, opens);
        TempTree tree;
        tree.folder("start/inner");
        tree.file("file.txt");
        if (start.rfind("{R}", 0) == 0)
            start.replace(0, 3, tree.root());
        FakeUser user;
        user.folderAnswers.push_back(tree.path("start/inner"));
        clsFileFolder toolkit(user.services());

        const std::string result = toolkit.ReferUser(start);
        if (opens) {
            QCOMPARE(result, tree.path("start/inner"));
            QCOMPARE(user.folderRequests.size(), std::size_t(1));
            QCOMPARE(user.folderRequests.front().root, Root::Folder);
            QCOMPARE(user.folderRequests.front().folder, start);
            QVERIFY(user.shown.empty());
        } else {
            QCOMPARE(result, std::string());
            QVERIFY(user.folderRequests.empty());
            QCOMPARE(user.shown, Strings{kNoSuchFolder});
        }
    }
};

QTEST_GUILESS_MAIN(FolderPickerTest)
#include "tst_folder_picker.moc"
