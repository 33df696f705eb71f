#include "app/PlanTableModel.h"
#include "app/PreviewWindow.h"
#include "app/RunProgressWindow.h"
#include "app/SystemMenuHook.h"
#include "app/frmMain.h"
#include "run/CollectionRun.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

#include <filesystem>

using namespace Qt::StringLiterals;

static QString qs(const std::string& text) { return QString::fromStdString(text); }

static const std::string kPlanChanged = "プレビューの後に保存先または対象のファイルが変わったため、計画し直しました。";

// A main window on the scripted user over a tree: src holds two IMG_1.jpg of different bytes in
// two folders, taken.jpg (its name already in dest), twin.jpg (its bytes already in dest, as
// same.jpg) and plain.jpg. Journals go to the tree's "state" folder.
struct Window {
    explicit Window(const std::string& settings = {}, bool skipIdentical = true)
        : settingsPath(settings.empty() ? tree.path("Quorvane.qvn") : tree.file("Quorvane.qvn", settings))
    {
        tree.file("src/d1/IMG_1.jpg", "one");
        tree.file("src/d1/plain.jpg", "plain");
        tree.file("src/d1/taken.jpg", "new");
        tree.file("src/d1/twin.jpg", "same");
        tree.file("src/d2/IMG_1.jpg", "two!");
        tree.file("src/d2/notes.txt", "not gathered");
        tree.file("dest/taken.jpg", "old");
        tree.file("dest/same.jpg", "same");
        window.collectionRun().setJournalFolder(tree.path("state"));
        window.txtFolder[frmMain::Source]->setText(qs(tree.path("src")));
        window.txtFolder[frmMain::Destination]->setText(qs(tree.path("dest")));
        if (skipIdentical)
            window.setSkipIdentical(true);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    FakeUser user;
    TempTree tree;
    std::string settingsPath;
    frmMain window { user.services(), nullptr, settingsPath };

    // The menu's entry, as the user chooses it.
    PreviewWindow* preview()
    {
        for (QAction* entry : window.actions())
            if (entry->data().toInt() == SystemMenuHook::kCommandPreview)
                entry->trigger();
        return window.previewWindow();
    }
    // The rows shown, in the order shown: "source below src|destination name|size|state".
    Strings rows(const PreviewWindow& shown)
    {
        Strings rows;
        const QAbstractItemModel& model = *shown.table()->model();
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model.columnCount(); ++column)
                cells << model.index(row, column).data().toString();
            cells[0].remove(qs(tree.path("src/")));
            rows.push_back(cells.join(u'|').toStdString());
        }
        return rows;
    }
    std::vector<std::string> journals() { return namesIn(tree.path("state")); }
};

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    // The plan of each operation, with nothing written: no folder, no file, no journal. Delete
    // and trash list exactly the files they would remove. The toggle keeps the rows whose name
    // changes or that are not done as they stand; copying gives the dry run's lines.
    void planShown_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<Strings>("rows");
        QTest::addColumn<Strings>("changed");
        QTest::addColumn<QString>("totals");
        QTest::newRow("copy") << int(frmMain::Copy)
                              << Strings { "d1/IMG_1.jpg|IMG_1.jpg|3 バイト|そのまま", "d1/plain.jpg|plain.jpg|5 バイト|そのまま",
                                     "d1/taken.jpg|taken_001.jpg|3 バイト|番号付き", "d1/twin.jpg|twin.jpg|4 バイト|同じ内容のため省略",
                                     "d2/IMG_1.jpg|IMG_1_001.jpg|4 バイト|番号付き" }
                              << Strings { "d1/taken.jpg", "d1/twin.jpg", "d2/IMG_1.jpg" }
                              << u"5 ファイル、書き込み 15 バイト    そのまま 2、番号付き 2、同じ内容のため省略 1"_s;
        QTest::newRow("delete") << int(frmMain::Delete)
                                << Strings { "d1/IMG_1.jpg||3 バイト|そのまま", "d1/plain.jpg||5 バイト|そのまま",
                                       "d1/taken.jpg||3 バイト|そのまま", "d1/twin.jpg||4 バイト|そのまま",
                                       "d2/IMG_1.jpg||4 バイト|そのまま" }
                                << Strings {} << u"5 ファイル、19 バイト    そのまま 5"_s;
    }

    void planShown()
    {
        QFETCH(int, operation);
        QFETCH(Strings, rows);
        QFETCH(Strings, changed);
        QFETCH(QString, totals);
        Window fixture;
        fixture.window.optOperat[static_cast<std::size_t>(operation)]->setChecked(true);
        const std::vector<std::string> before = everythingIn(fixture.tree.root());
        PreviewWindow* shown = fixture.preview();
        QVERIFY(shown && shown->isVisible() && shown->isModal());
        QCOMPARE(fixture.rows(*shown), rows);
        QCOMPARE(shown->totalsLabel()->text(), totals);
        QCOMPARE(shown->spaceLabel()->isVisibleTo(shown), operation == frmMain::Copy);
        QVERIFY(shown->spaceLabel()->text().startsWith(u"保存先の空き容量 "_s) || operation != frmMain::Copy);
        QCOMPARE(everythingIn(fixture.tree.root()), before);
        QCOMPARE(fixture.user.shown, Strings {});
        QVERIFY(!fixture.window.runWindow().isVisible());

        shown->changesOnlyBox()->click();
        Strings changedShown;
        for (const std::string& row : fixture.rows(*shown))
            changedShown.push_back(row.substr(0, row.find('|')));
        QCOMPARE(changedShown, changed);
        shown->changesOnlyBox()->click();
        QCOMPARE(fixture.rows(*shown), rows);

        // Sorted by size, largest first, then the first and last rows copied with Ctrl+C.
        shown->table()->sortByColumn(PlanTableModel::Size, Qt::DescendingOrder);
        QCOMPARE(fixture.rows(*shown).front(), rows[1]);
        shown->table()->selectionModel()->select(shown->table()->model()->index(0, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        shown->table()->selectionModel()->select(shown->table()->model()->index(4, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QApplication::clipboard()->clear();
        QApplication::setActiveWindow(shown); // as the desktop activates a window that comes up
        shown->table()->setFocus();
        QTest::keyClick(shown->table(), Qt::Key_C, Qt::ControlModifier);
        const std::string src = fixture.tree.path("src/"), dest = fixture.tree.path("dest/");
        const std::string expected = operation == frmMain::Copy
            ? src + "d1/plain.jpg\t" + dest + "plain.jpg\n" + src + "d1/taken.jpg\t" + dest + "taken_001.jpg\n"
            : src + "d1/plain.jpg\n" + src + "d1/taken.jpg\n";
        QCOMPARE(QApplication::clipboard()->text().toStdString(), expected);

        shown->closeButton()->click();
        QVERIFY(!shown->isVisible());
        QCOMPARE(everythingIn(fixture.tree.root()), before);
        QCOMPARE(fixture.journals(), std::vector<std::string> {});
    }

    // The checks speak as for 実行, and no preview comes up.
    void checksOfTheRun()
    {
        Window fixture;
        fixture.window.txtFolder[frmMain::Source]->setText(QString());
        QCOMPARE(fixture.preview(), nullptr);
        QCOMPARE(fixture.user.shown, Strings { "ファイル収集対象フォルダを指定して下さい。" });
    }

    // この内容で実行 does what the preview showed, with the inputs it was made of, whatever
    // was typed in the window since. On a destination that cannot tell whether it folds case,
    // the preview planned it as folding; the run does the same and makes no probe.
    void runAsShown_data()
    {
        QTest::addColumn<bool>("undecidedCase");
        QTest::newRow("destination's file system known") << false;
        QTest::newRow("case folding unknown") << true;
    }

    void runAsShown()
    {
        QFETCH(bool, undecidedCase);
        Window fixture;
        fixture.tree.file("src/d2/Plain.jpg", "Plain");
        run::CollectionRun& run = fixture.window.collectionRun();
        int probes = 0;
        run.setCaseFoldingProbe([&](const std::string&) { return ++probes, false; });
        if (undecidedCase)
            run.setFileSystemLookup([](const std::string&) {
                platform::FileSystemTraits traits;
                traits.caseFolding = platform::CaseFolding::Unknown;
                return traits;
            });
        PreviewWindow* shown = fixture.preview();
        QVERIFY(shown);
        const run::RunReport plan = shown->plan();
        fixture.window.txtFileType->setText(u"txt"_s);
        shown->runButton()->click();

        QVERIFY(!shown->isVisible());
        QCOMPARE(probes, 0);
        const std::string dest = fixture.tree.path("dest/");
        Strings placed { "same.jpg=same", "taken.jpg=old" };
        for (const run::FileRecord& file : plan.files)
            if (!file.identical)
                placed.push_back(file.dest.str().substr(dest.size()) + "=" + TempTree::read(file.source.str()));
        std::sort(placed.begin(), placed.end());
        QCOMPARE(everythingIn(fixture.tree.path("dest")), placed);
        QCOMPARE(TempTree::exists(dest + "Plain_001.jpg"), undecidedCase);
        QCOMPARE(fixture.journals().size(), std::size_t(1));
        QCOMPARE(run.report().counts().done, plan.files.size() - 1);
        QCOMPARE(fixture.user.shown, Strings {});
    }

    // A destination or a tree changed after the preview, before この内容で実行 or while the run
    // makes its own plan: the user is told, sees the new plan, and nothing is done.
    void changedAfterPreview_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("duringRun");
        QTest::addColumn<std::string>("newRow");
        QTest::newRow("name taken in destination") << u"dest/IMG_1.jpg"_s << false
                                                   << std::string("d1/IMG_1.jpg|IMG_1_001.jpg|3 バイト|番号付き");
        QTest::newRow("file gone from the tree") << u"-src/d1/plain.jpg"_s << false << std::string();
        QTest::newRow("name taken as the run plans") << u"dest/IMG_1.jpg"_s << true
                                                     << std::string("d1/IMG_1.jpg|IMG_1_001.jpg|3 バイト|番号付き");
    }

    void changedAfterPreview()
    {
        QFETCH(QString, change);
        QFETCH(bool, duringRun);
        QFETCH(std::string, newRow);
        Window fixture;
        const auto makeChange = [&] {
            if (change.startsWith(u'-'))
                std::filesystem::remove(fixture.tree.path(change.mid(1).toStdString()));
            else
                fixture.tree.file(change.toStdString(), "elsewhere");
        };
        // The destination's file system is looked at once per plan: the preview's, the plan
        // made again, and the run's own.
        int plans = 0;
        fixture.window.collectionRun().setFileSystemLookup([&](const std::string& folder) {
            if (folder.starts_with(fixture.tree.path("dest")) && ++plans == 3 && duringRun)
                makeChange();
            return platform::fileSystemOf(folder);
        });
        PreviewWindow* shown = fixture.preview();
        QVERIFY(shown);
        const Strings before = fixture.rows(*shown);
        if (!duringRun)
            makeChange();
        std::vector<std::string> changed = everythingIn(fixture.tree.root());
        if (duringRun) {
            changed.push_back("dest/IMG_1.jpg=elsewhere");
            std::sort(changed.begin(), changed.end());
        }
        shown->runButton()->click();

        QCOMPARE(fixture.user.shown, Strings { kPlanChanged });
        QCOMPARE(everythingIn(fixture.tree.root()), changed);
        QCOMPARE(fixture.journals(), std::vector<std::string> {});
        QVERIFY(shown->isVisible() && !fixture.window.runWindow().isVisible());
        const Strings after = fixture.rows(*shown);
        QVERIFY(after != before);
        QCOMPARE(after.size(), before.size() - (newRow.empty() ? 1 : 0));
        if (!newRow.empty())
            QVERIFY(std::find(after.begin(), after.end(), newRow) != after.end());
    }

    // 実行 leaves identical files as the settings file's fifth line asks, and copies them without it.
    void settingOfTheWindow_data()
    {
        QTest::addColumn<std::string>("fifthLine");
        QTest::addColumn<bool>("twinCopied");
        QTest::newRow("on") << std::string(" 1 \r\n") << false;
        QTest::newRow("none") << std::string() << true;
    }

    void settingOfTheWindow()
    {
        QFETCH(std::string, fifthLine);
        QFETCH(bool, twinCopied);
        Window fixture("/nowhere\r\n/nowhere\r\n 0 \r\njpg\r\n" + fifthLine, false);
        QCOMPARE(fixture.window.skipIdentical(), !twinCopied);
        fixture.window.cmdStart->click();
        QCOMPARE(TempTree::exists(fixture.tree.path("dest/twin.jpg")), twinCopied);
        QVERIFY(TempTree::exists(fixture.tree.path("dest/plain.jpg")));
    }

    // A missing destination is planned as empty and said to be made; the run asks as 実行 does.
    void missingDestination()
    {
        Window fixture;
        fixture.window.txtFolder[frmMain::Destination]->setText(qs(fixture.tree.path("new")));
        PreviewWindow* shown = fixture.preview();
        QVERIFY(shown);
        QCOMPARE(shown->spaceLabel()->text(), u"保存先のフォルダはありません。実行すると作成されます。"_s);
        QVERIFY(!TempTree::exists(fixture.tree.path("new")));
        fixture.user.yesNoAnswers = { true };
        shown->runButton()->click();
        QCOMPARE(fixture.user.shown, Strings { "フォルダが存在しません。作成しますか？" });
        QCOMPARE(namesIn(fixture.tree.path("new")),
            (std::vector<std::string> { "IMG_1.jpg", "IMG_1_001.jpg", "plain.jpg", "taken.jpg", "twin.jpg" }));
    }
};

QUORVANE_GUI_TEST_MAIN(PreviewTest)
#include "tst_preview.moc"
