#include "run/DestPlanner.h"
#include "run/NameRules.h"
#include "support/LiteralPlan.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <algorithm>
#include <random>
#include <sstream>

namespace {

// The plan, the fast one or the literal reference, over a disk whose folder compares
// names as the plan is told to: folded, or byte for byte.
Strings plan(bool literal, Strings names, const Strings& onDisk, bool foldCase)
{
    const auto key = [foldCase](std::string_view name) { return foldCase ? run::caseFoldedKey(name) : std::string(name); };
    const auto taken = [&](const std::string& path) {
        return std::ranges::any_of(onDisk, [&](const std::string& name) { return key(name) == key(path); });
    };
    const run::NameRules rules{taken, foldCase ? &run::caseFoldedKey : nullptr, run::fileNameStemEnd};
    const auto last = static_cast<std::int32_t>(names.size()) - 1;
    const auto keepGoing = [] { return true; };
    literal ? literalPlan(names, last, rules, keepGoing) : run::DestPlanner(rules, keepGoing).plan(names, last);
    return names;
}

// Space-separated names, placed in a folder whose name has a dot.
Strings inFolder(const std::string& names)
{
    Strings paths;
    std::istringstream stream(names);
    for (std::string name; stream >> name;)
        paths.push_back("/dest.d/" + name);
    return paths;
}

} // namespace

class DestPlanTest : public QObject {
    Q_OBJECT

private slots:
    // Worked examples, for the fast plan and the literal reference alike.
    void numbering_data()
    {
        QTest::addColumn<Strings>("names");
        QTest::addColumn<Strings>("onDisk");
        QTest::addColumn<Strings>("expected");
        QTest::addColumn<bool>("foldCase");
        const auto row = [](const char* name, const std::string& names, const char* onDisk,
                            const std::string& expected, bool foldCase = false) {
            QTest::newRow(name) << inFolder(names) << inFolder(onDisk) << inFolder(expected) << foldCase;
        };
        row("three of one name, one on disk", "p.jpg p.jpg p.jpg", "p.jpg", "p_001.jpg p_002.jpg p_003.jpg");
        row("name and its first number on disk", "p.jpg", "p.jpg p_001.jpg", "p_002.jpg");
        row("numbered name on disk numbered again", "p.jpg p.jpg", "p_001.jpg", "p.jpg p_001_001.jpg");
        row("numbered name already planned", "p_001.jpg p.jpg p.jpg", "", "p_001.jpg p.jpg p_002.jpg");
        row("own number borne by a later entry", "p.jpg p_001.jpg p.jpg", "p.jpg", "p_002.jpg p_001.jpg p_003.jpg");
        row("where the stem ends", "a.b.c a.b.c README README .rc .rc", "", "a.b.c a.b_001.c README README_001 .rc .rc_001");
        row("case differs, case-folding", "Äpfel.jpg äPFEL.JPG", "ÄPFEL.jpg", "Äpfel_001.jpg äPFEL_002.JPG", true);
        std::string many = "p.jpg", numbered = "p.jpg";
        for (int counter = 1; counter <= 1001; ++counter, many += " p.jpg")
            numbered += " p_" + run::counterText(counter) + ".jpg";
        row("counter past 999", many, "", numbered);
    }

    void numbering()
    {
        QFETCH(Strings, names);
        QFETCH(Strings, onDisk);
        QFETCH(Strings, expected);
        QFETCH(bool, foldCase);
        for (const bool literal : {false, true})
            QCOMPARE(plan(literal, names, onDisk, foldCase), expected);
    }

    // The fast plan against the literal one on thousands of small seeded plans full of
    // clashes, with names compared exactly or folded.
    void agreesWithLiteralPlan()
    {
        std::mt19937 random(20240611u);
        const auto pick = [&random](const Strings& choices) { return choices[random() % choices.size()]; };
        // A handful of stems and extensions, numbered forms among them: most plans collide.
        const auto randomName = [&](const std::string& folder) {
            return folder + pick({"a", "A", "b", "a_001", "a_002", "A_001", "a_001_001", "b_001", ".a", "a.b", "ä", "Ä"})
                + pick({".jpg", ".jpg", ".JPG", "", ".x", "_001.jpg"});
        };
        for (int round = 0; round < 16000; ++round) {
            const bool foldCase = round % 2;
            const std::string folder = random() % 3 == 0 ? "/d.x/" : "/d/";
            Strings names(1 + random() % 12), onDisk(random() % 6);
            std::generate(names.begin(), names.end(), [&] { return randomName(folder); });
            std::generate(onDisk.begin(), onDisk.end(), [&] { return randomName(folder); });
            const Strings fast = plan(false, names, onDisk, foldCase), literal = plan(true, names, onDisk, foldCase);
            if (fast != literal)
                qWarning("round %d, input %s", round, QTest::toString(names));
            QCOMPARE(fast, literal);
        }
    }
};

QTEST_GUILESS_MAIN(DestPlanTest)
#include "tst_dest_plan.moc"
