#include "run/DestPlanner.h"
#include "run/NameRules.h"
#include "support/LiteralPlan.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <random>
#include <set>
#include <unordered_set>

namespace {

using KeyFunction = std::string (*)(std::string_view);
using StemFunction = std::size_t (*)(std::string_view);

// The plain reading of "the last dot of the whole path", dots in folder names included.
std::size_t lastDotOfPath(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? path.size() : dot;
}

std::string keyOf(KeyFunction key, std::string_view name)
{
    return key ? key(name) : std::string(name);
}

// A disk whose folder compares names the way the plan is told to. A null key
// compares names byte for byte.
run::NameRules rulesFor(const std::set<std::string>& onDisk, KeyFunction key, StemFunction stem)
{
    run::NameRules rules{[&onDisk, key](const std::string& path) {
                             for (const std::string& taken : onDisk) {
                                 if (keyOf(key, taken) == keyOf(key, path))
                                     return true;
                             }
                             return false;
                         },
                         nullptr, stem};
    if (key)
        rules.nameKey = key;
    return rules;
}

Strings inFolder(const std::string& folder, const Strings& names)
{
    Strings paths;
    for (const std::string& name : names)
        paths.push_back(folder + name);
    return paths;
}

Strings fastPlan(Strings names, const run::NameRules& rules)
{
    run::DestPlanner planner(rules, [] { return true; });
    planner.plan(names, static_cast<std::int32_t>(names.size()) - 1);
    return names;
}

Strings slowPlan(Strings names, const run::NameRules& rules)
{
    literalPlan(names, static_cast<std::int32_t>(names.size()) - 1, rules, [] { return true; });
    return names;
}

std::string pick(std::mt19937& random, std::initializer_list<const char*> choices)
{
    std::uniform_int_distribution<std::size_t> index(0, choices.size() - 1);
    return *(choices.begin() + static_cast<std::ptrdiff_t>(index(random)));
}

// Names drawn from a handful of stems and extensions, so that most plans collide,
// with numbered forms among them so that numbering runs into names already planned.
std::string randomName(std::mt19937& random)
{
    return pick(random, {"a", "A", "b", "a_001", "a_002", "A_001", "a_001_001", "b_001", ".a", "a.b", "ä", "Ä"})
        + pick(random, {".jpg", ".jpg", ".JPG", "", ".x", "_001.jpg"});
}

} // namespace

class DestPlanTest : public QObject {
    Q_OBJECT

private slots:
    void numbering_data()
    {
        QTest::addColumn<Strings>("names");
        QTest::addColumn<Strings>("onDisk");
        QTest::addColumn<bool>("foldCase");
        QTest::addColumn<Strings>("expected");

        const Strings none;
        QTest::newRow("two of one name")
            << Strings{"photo.jpg", "photo.jpg"} << none << false
            << Strings{"photo.jpg", "photo_001.jpg"};
        QTest::newRow("three of one name, one on disk")
            << Strings{"photo.jpg", "photo.jpg", "photo.jpg"} << Strings{"photo.jpg"} << false
            << Strings{"photo_001.jpg", "photo_002.jpg", "photo_003.jpg"};
        QTest::newRow("disk holds the name and its first number")
            << Strings{"photo.jpg"} << Strings{"photo.jpg", "photo_001.jpg"} << false
            << Strings{"photo_002.jpg"};
        QTest::newRow("numbered name on disk is numbered again")
            << Strings{"photo.jpg", "photo.jpg"} << Strings{"photo_001.jpg"} << false
            << Strings{"photo.jpg", "photo_001_001.jpg"};
        QTest::newRow("numbered name already planned")
            << Strings{"photo_001.jpg", "photo.jpg", "photo.jpg"} << none << false
            << Strings{"photo_001.jpg", "photo.jpg", "photo_002.jpg"};
        QTest::newRow("own numbered name borne by a later entry")
            << Strings{"p.jpg", "p_001.jpg", "p.jpg"} << Strings{"p.jpg"} << false
            << Strings{"p_002.jpg", "p_001.jpg", "p_003.jpg"};
        QTest::newRow("several dots split at the last")
            << Strings{"a.b.jpg", "a.b.jpg"} << none << false << Strings{"a.b.jpg", "a.b_001.jpg"};
        QTest::newRow("case differs, case-sensitive file system")
            << Strings{"A.JPG", "a.jpg"} << none << false << Strings{"A.JPG", "a.jpg"};
        QTest::newRow("case differs, case-folding file system")
            << Strings{"A.JPG", "a.jpg"} << none << true << Strings{"A.JPG", "a_001.jpg"};
        QTest::newRow("non-ASCII case differs, case-folding file system")
            << Strings{"Äpfel.jpg", "äPFEL.JPG"} << Strings{"ÄPFEL.jpg"} << true
            << Strings{"Äpfel_001.jpg", "äPFEL_002.JPG"};
        QTest::newRow("no dot: suffix at the end")
            << Strings{"README", "README"} << none << false << Strings{"README", "README_001"};
        QTest::newRow("leading dot belongs to the stem")
            << Strings{".bashrc", ".bashrc"} << none << false << Strings{".bashrc", ".bashrc_001"};

        Strings many(1002, "photo.jpg");
        Strings numbered{"photo.jpg"};
        for (int counter = 1; counter <= 1001; ++counter)
            numbered.push_back("photo_" + run::counterText(counter) + ".jpg");
        QTest::newRow("counter past 999") << many << none << false << numbered;
    }

    void numbering()
    {
        QFETCH(Strings, names);
        QFETCH(Strings, onDisk);
        QFETCH(bool, foldCase);
        QFETCH(Strings, expected);
        const std::string folder = "/dest.d/";
        const Strings disk = inFolder(folder, onDisk);
        const std::set<std::string> diskSet(disk.begin(), disk.end());
        const run::NameRules rules = rulesFor(diskSet, foldCase ? run::caseFoldedKey : nullptr,
                                              run::fileNameStemEnd);
        QCOMPARE(fastPlan(inFolder(folder, names), rules), inFolder(folder, expected));
        QCOMPARE(slowPlan(inFolder(folder, names), rules), inFolder(folder, expected));
    }

    // The fast plan against the step-by-step one, on many small plans full of clashes.
    void agreesWithLiteralPlan_data()
    {
        QTest::addColumn<bool>("foldCase");
        QTest::addColumn<bool>("dotInWholePath");
        QTest::newRow("exact names, dot in file name") << false << false;
        QTest::newRow("folded names, dot in file name") << true << false;
        QTest::newRow("exact names, last dot of the path") << false << true;
        QTest::newRow("folded names, last dot of the path") << true << true;
    }

    void agreesWithLiteralPlan()
    {
        QFETCH(bool, foldCase);
        QFETCH(bool, dotInWholePath);
        const KeyFunction key = foldCase ? run::caseFoldedKey : nullptr;
        const StemFunction stem = dotInWholePath ? lastDotOfPath : run::fileNameStemEnd;
        std::mt19937 random(20240611u + (foldCase ? 1u : 0u) + (dotInWholePath ? 2u : 0u));
        for (int round = 0; round < 4000; ++round) {
            const std::string folder = random() % 3 == 0 ? "/d.x/" : "/d/";
            Strings names(1 + random() % 12);
            for (std::string& name : names)
                name = folder + randomName(random);
            std::set<std::string> onDisk;
            for (unsigned i = random() % 6; i > 0; --i)
                onDisk.insert(folder + randomName(random));
            const run::NameRules rules = rulesFor(onDisk, key, stem);

            const Strings fast = fastPlan(names, rules);
            const Strings slow = slowPlan(names, rules);
            if (fast != slow)
                qWarning("round %d, input %s", round, QTest::toString(names));
            QCOMPARE(fast, slow);

            std::unordered_set<std::string> keys;
            for (const std::string& name : fast)
                QVERIFY2(keys.insert(keyOf(key, name)).second, QTest::toString(fast));
        }
    }

    // Stopping is seen at once and leaves the plan partly done, for both.
    void stopsWhenAsked()
    {
        const std::set<std::string> onDisk;
        const run::NameRules rules = rulesFor(onDisk, nullptr, run::fileNameStemEnd);
        Strings names(50, "/d/p.jpg");
        int calls = 0;
        run::DestPlanner planner(rules, [&calls] { return ++calls < 10; });
        QVERIFY(!planner.plan(names, 49));
        QCOMPARE(calls, 10);
    }
};

QTEST_GUILESS_MAIN(DestPlanTest)
#include "tst_dest_plan.moc"
