// The shell completions as bash and zsh use them, against what the built program's
// --help says: the subcommands, the options where each is taken and nowhere else, the
// folders for the folder operands (and only while one is due), and the extensions
// after -t, item by item after a comma.
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <set>

using namespace Qt::StringLiterals;

namespace {

using Words = std::set<QString>;

QByteArray run(const QString& program, const QStringList& arguments, const std::string& workingFolder = {})
{
    QProcess process;
    if (!workingFolder.empty())
        process.setWorkingDirectory(QString::fromStdString(workingFolder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TERM"_s, u"xterm"_s); // zsh's line editor needs one
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qWarning() << program << arguments << "failed:" << process.readAllStandardError();
    return process.readAllStandardOutput();
}

// The option names of each section of --help, by its heading, and the subcommands of its
// usage lines.
struct Help {
    std::map<QString, Words> sections;
    Words subcommands;
};

Help readHelp()
{
    Help help;
    QString section;
    static const QRegularExpression usage(u"^(?:Usage:)?\\s+quorvane ([a-z]+)\\b"_s);
    static const QRegularExpression row(u"^  (?:(-\\w), )?\\s*(--[\\w-]+)"_s);
    for (const QString& line : QString::fromUtf8(run(QStringLiteral(QUORVANE_EXECUTABLE), {u"--help"_s})).split(u'\n')) {
        if (const auto match = usage.match(line); match.hasMatch())
            help.subcommands.insert(match.captured(1));
        if (line.endsWith(u':') && !line.startsWith(u' '))
            section = line.chopped(1);
        else if (const auto match = row.match(line); match.hasMatch() && !section.isEmpty())
            for (const int group : {1, 2})
                if (!match.captured(group).isEmpty())
                    help.sections[section].insert(match.captured(group));
    }
    return help;
}

// The words bash hands its completion function: blanks separate them, and "=" is a
// word of its own.
QStringList bashWords(const QString& line)
{
    QStringList words;
    for (const QString& word : line.split(u' ')) {
        const qsizetype equals = word.indexOf(u'=');
        if (equals < 0)
            words << word;
        else
            words << word.left(equals) << u"="_s << word.mid(equals + 1);
    }
    if (words.size() > 1 && words.back().isEmpty() && words[words.size() - 2] == u"="_s)
        words.removeLast(); // "--types=" completes the "=" itself
    return words;
}

// The candidates each shell offers for the line, as they would be inserted less their
// quoting, and less the items before a comma.
Words offered(const QString& shell, const QString& line, const std::string& workingFolder)
{
    QByteArray output;
    if (shell == u"bash") {
        output = run(u"bash"_s,
                     QStringList{u"-c"_s, u"source \"$1\"; shift; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); "
                                          "_quorvane; printf '%s\\n' \"${COMPREPLY[@]}\""_s,
                                 u"complete"_s, QStringLiteral(QUORVANE_COMPLETIONS_DIR "/quorvane")}
                         + bashWords(line),
                     workingFolder);
    } else {
        output = run(u"zsh"_s, {u"-f"_s, QStringLiteral(QUORVANE_SOURCE_DIR "/tests/support/zsh-complete.zsh"),
                                QStringLiteral(QUORVANE_COMPLETIONS_DIR), line},
                     workingFolder);
    }
    Words words;
    for (QString word : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
        word.replace(u"\\ "_s, u" "_s);
        words.insert(word.mid(word.lastIndexOf(u',') + 1));
    }
    return words;
}

QString listed(const Words& words)
{
    return QStringList(words.begin(), words.end()).join(u' ');
}

} // namespace

class CompletionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_help = readHelp();
        QVERIFY2(m_help.sections.size() == 3 && m_help.subcommands.size() == 5, "--help is not as expected");
    }

    // In the working folder: the folders "photos" and "My Photos", the file notes.txt.
    // What is offered: {subcommands}, {folders}, or the options of a section of --help,
    // exactly; or only some words must be there and others not.
    void completions_data()
    {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("exactly"); // empty: see the next two
        QTest::addColumn<QStringList>("among");
        QTest::addColumn<QStringList>("notAmong");
        const QStringList folders{u"{folders}"_s};
        const QStringList none;
        for (const QString& shell : {u"bash"_s, u"zsh"_s}) {
            const auto row = [&](const char* name, const char* line, QStringList exactly, QStringList among = {},
                                 QStringList notAmong = {}) {
                QTest::addRow("%s: %s", qPrintable(shell), name)
                    << shell << QString::fromUtf8(line) << exactly << among << notAmong;
            };
            row("first word", "quorvane ", {u"{subcommands}"_s, u"{folders}"_s});
            row("first option", "quorvane -", {u"{Window options}"_s, u"{On their own}"_s});
            row("options after a subcommand", "quorvane copy -", {u"{Subcommand options}"_s});
            row("options after the window's folder", "quorvane photos -", {u"{Window options}"_s});
            row("the source", "quorvane copy ", folders);
            row("the destination", "quorvane move photos ", folders);
            row("a name with a blank", "quorvane copy My", {u"My Photos"_s});
            row("after both folders", "quorvane copy photos out ", none, {}, folders);
            row("after delete's one folder", "quorvane delete photos ", none, {}, folders);
            row("undo takes no folder", "quorvane undo ", none, {}, folders);
            row("the window's destination", "quorvane --dest ", folders);
            row("the window's source", "quorvane --dest out --source ", folders);
            row("extensions", "quorvane copy -t ", none,
                {u"jpg"_s, u"png"_s, u"heic"_s, u"mp4"_s, u"mov"_s, u"pdf"_s, u"docx"_s}, folders);
            row("the extension after a comma", "quorvane copy -t jpg,p", {u"png"_s, u"pdf"_s, u"ppt"_s, u"pptx"_s});
            row("an extension after =", "quorvane trash --types=he", {u"heic"_s, u"heif"_s});
            row("a folder after an option's value", "quorvane copy -t png ", folders);
        }
    }

    void completions()
    {
        QFETCH(QString, shell);
        QFETCH(QString, line);
        QFETCH(QStringList, exactly);
        QFETCH(QStringList, among);
        QFETCH(QStringList, notAmong);
        TempTree tree;
        tree.folder("photos");
        tree.folder("My Photos");
        tree.file("notes.txt");
        const auto expand = [this](const QStringList& words) {
            Words expanded;
            for (const QString& word : words) {
                if (word == u"{folders}")
                    expanded.insert({u"photos"_s, u"My Photos"_s});
                else if (word == u"{subcommands}")
                    expanded.insert(m_help.subcommands.begin(), m_help.subcommands.end());
                else if (word.startsWith(u'{'))
                    expanded.merge(Words(m_help.sections.at(word.mid(1).chopped(1))));
                else
                    expanded.insert(word);
            }
            return expanded;
        };
        const Words got = offered(shell, line, tree.root());
        if (!exactly.isEmpty())
            QCOMPARE(listed(got), listed(expand(exactly)));
        for (const QString& word : expand(among))
            QVERIFY2(got.count(word) == 1, qPrintable(word + u" not in: "_s + listed(got)));
        for (const QString& word : expand(notAmong))
            QVERIFY2(got.count(word) == 0, qPrintable(word + u" in: "_s + listed(got)));
    }

private:
    Help m_help;
};

QTEST_GUILESS_MAIN(CompletionTest)
#include "tst_completion.moc"
