// The language the texts are shown in follows the locale: Japanese, as written, under a
// Japanese locale and under C and POSIX, English under any other. In this process the
// language is chosen directly and the windows, a message, a question and the report are
// read; the built program is run under each locale for the command line's messages.
// Each window's texts must fit their fixed places in both languages.
#include "about/frmAbout.h"
#include "app/RunProgressWindow.h"
#include "app/frmMain.h"
#include "platform/qt/Translations.h"
#include "run/RunReportText.h"
#include "settings/WindowInputs.h"
#include "settings/frmOption.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/ProgramRun.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString caption(QWidget* window, const char* name)
{
    auto* control = window->findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* box = qobject_cast<QGroupBox*>(control))
        return box->title();
    return u"(no control %1)"_s.arg(QString::fromLatin1(name));
}

// The controls of `window` whose text is wider (or, where it wraps, taller) than the
// place the window gives it, each with its text.
QStringList clipped(QWidget* window)
{
    QStringList found;
    const auto note = [&](QWidget* control, const QString& text) {
        found << u"%1 \"%2\""_s.arg(control->objectName(), text);
    };
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window))
            continue;
        const QFontMetrics metrics(control->font());
        QStyle* style = control->style();
        if (auto* label = qobject_cast<QLabel*>(control)) {
            const QString text = label->text();
            if (text.isEmpty() || label->pixmap().isNull() == false)
                continue;
            const QRect room = label->contentsRect();
            // One line is as high as its place gives; lines that wrap must be no more
            // than the place's height holds.
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect needed = metrics.boundingRect(room, flags, text);
            const int lines = qRound(double(needed.height()) / metrics.lineSpacing());
            if (needed.width() > room.width()
                || (label->wordWrap() && lines > qRound(double(room.height()) / metrics.lineSpacing())))
                note(label, text);
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            if (!box->title().isEmpty() && metrics.horizontalAdvance(box->title()) + 16 > box->width())
                note(box, box->title());
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            option.icon = button->icon();
            option.iconSize = button->iconSize();
            if (option.text.isEmpty())
                continue;
            const auto element = qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                : qobject_cast<QCheckBox*>(button)                   ? QStyle::SE_CheckBoxContents
                                                                     : QStyle::SE_PushButtonContents;
            const QRect room = style->subElementRect(element, &option, button);
            // A caption that wraps has the button's height for its lines.
            const int flags = Qt::TextShowMnemonic
                | (button->inherits("WrappingRadioButton") || button->inherits("WrappingCheckBox")
                        ? Qt::TextWordWrap
                        : 0);
            const QRect needed = metrics.boundingRect(room, flags, option.text);
            if (needed.width() > room.width() || needed.height() > room.height())
                note(button, option.text);
        }
    }
    return found;
}

// A report of a copy that has ended: nothing was left to copy.
run::RunReport endedCopy()
{
    run::RunReport report;
    report.started = report.finished = std::chrono::steady_clock::now();
    report.ended = true;
    return report;
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { platform::loadTranslations({ u"C"_s }); }

    void choice_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<bool>("source");
        QTest::newRow("C") << QStringList { u"C"_s } << true;
        QTest::newRow("Japanese") << QStringList { u"ja-JP"_s, u"ja-Jpan-JP"_s, u"ja"_s } << true;
        QTest::newRow("English") << QStringList { u"en-US"_s, u"en"_s } << false;
        QTest::newRow("German: English") << QStringList { u"de-DE"_s, u"de"_s } << false;
        QTest::newRow("English before Japanese") << QStringList { u"en-US"_s, u"ja"_s } << false;
        QTest::newRow("Japanese before English") << QStringList { u"ja"_s, u"en-US"_s } << true;
        QTest::newRow("nothing known") << QStringList {} << true;
    }
    void choice()
    {
        QFETCH(QStringList, languages);
        QFETCH(bool, source);
        QCOMPARE(platform::wantsSourceTexts(languages), source);
    }

    // The window's captions, a message and a question of a run, a line of the report and
    // Qt's own standard buttons, in each language.
    void texts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("C: as written")
            << u"C"_s
            << QStringList { u"実行"_s, u"閉じる"_s, u"完全削除"_s, u"ファイル収集対象フォルダの指定"_s,
                   u"ファイル収集対象フォルダを指定して下さい。"_s,
                   u"フォルダが存在しません。作成しますか？"_s, u"コピーしたファイル: 0 (0 バイト)"_s,
                   u"完了 - コピー"_s, u"キャンセル"_s };
        QTest::newRow("Japanese: as written")
            << u"ja-JP"_s
            << QStringList { u"実行"_s, u"閉じる"_s, u"完全削除"_s, u"ファイル収集対象フォルダの指定"_s,
                   u"ファイル収集対象フォルダを指定して下さい。"_s,
                   u"フォルダが存在しません。作成しますか？"_s, u"コピーしたファイル: 0 (0 バイト)"_s,
                   u"完了 - コピー"_s, u"キャンセル"_s };
        QTest::newRow("English") << u"en-US"_s
                                 << QStringList { u"Start"_s, u"Close"_s, u"Delete"_s,
                                        u"Folder to gather files from"_s,
                                        u"Enter the folder to gather files from."_s,
                                        u"The folder does not exist. Create it?"_s,
                                        u"Files copied: 0 (0 bytes)"_s, u"Done - Copy"_s, u"Cancel"_s };
    }
    void texts()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, expected);
        platform::loadTranslations({ language });
        FakeUser user;
        TempTree tree;
        tree.file("source/a.jpg", "photo");
        frmMain window(user.services(), nullptr, tree.path("Quorvane.qvn"));
        window.show();
        QStringList seen { caption(&window, "cmdStart"), caption(&window, "cmdExit"),
            caption(&window, "optOperat_2"), caption(&window, "Label1") };
        // No source folder: a message. Then a destination that is missing: a question.
        window.txtFolder[frmMain::Source]->clear();
        window.cmdStart->click();
        window.txtFolder[frmMain::Source]->setText(qs(tree.path("source")));
        window.txtFolder[frmMain::Destination]->setText(qs(tree.path("missing")));
        window.cmdStart->click();
        QCOMPARE(user.shown.size(), std::size_t(2));
        seen << qs(user.shown[0]) << qs(user.shown[1]);
        const run::RunReport report = endedCopy();
        seen << qs(run::report_text::summary(report)).section(u'\n', 0, 0)
             << qs(run::report_text::title(report));
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        seen << buttons.button(QDialogButtonBox::Cancel)->text();
        QCOMPARE(seen, expected);
    }

    void fits_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("Japanese") << u"C"_s;
        QTest::newRow("English") << u"en-US"_s;
    }
    void fits()
    {
        QFETCH(QString, language);
        platform::loadTranslations({ language });
        FakeUser user;
        TempTree tree;
        frmMain window(user.services(), nullptr, tree.path("Quorvane.qvn"));
        window.show();
        QStringList found = clipped(&window);

        WindowInputs inputs(window);
        frmOption options({ inputs, qs(tree.path("")), tree.path("Quorvane.qvn"), user });
        options.show();
        found << clipped(&options);

        frmAbout about;
        about.show();
        found << clipped(&about);

        RunProgressWindow& runWindow = window.runWindow();
        runWindow.setShowDelay(std::chrono::milliseconds(0));
        run::RunReport report = endedCopy();
        report.ended = false;
        runWindow.runStarted(report);
        runWindow.runProgressed(report);
        found << clipped(&runWindow);
        report.ended = true;
        runWindow.runEnded(report, false);
        found << clipped(&runWindow);
        QCOMPARE(found, QStringList());
    }

    // The built program takes the language from its environment: its messages on the
    // command line, before any window, and the run's report on standard error.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("usage");
        QTest::addColumn<QString>("report");
        const QString japanese = u"quorvane: 「frobnicate」はサブコマンドでもフォルダでもありません。\n"_s;
        const QString english = u"quorvane: \"frobnicate\" is neither a subcommand nor a folder.\n"_s;
        const QString copiedJapanese = u"コピーしたファイル: 1 ("_s;
        const QString copiedEnglish = u"Files copied: 1 ("_s;
        QTest::newRow("LANG=C") << QStringList { u"LC_ALL="_s, u"LANG=C"_s } << japanese << copiedJapanese;
        QTest::newRow("LANG=C.UTF-8")
            << QStringList { u"LC_ALL="_s, u"LANG=C.UTF-8"_s } << japanese << copiedJapanese;
        QTest::newRow("nothing set") << QStringList { u"LC_ALL="_s, u"LANG="_s } << japanese
                                     << copiedJapanese;
        QTest::newRow("LANG=ja_JP.UTF-8")
            << QStringList { u"LC_ALL="_s, u"LANG=ja_JP.UTF-8"_s } << japanese << copiedJapanese;
        QTest::newRow("LANG=en_US.UTF-8")
            << QStringList { u"LC_ALL="_s, u"LANG=en_US.UTF-8"_s } << english << copiedEnglish;
        QTest::newRow("LANG=de_DE.UTF-8")
            << QStringList { u"LC_ALL="_s, u"LANG=de_DE.UTF-8"_s } << english << copiedEnglish;
        QTest::newRow("LC_ALL wins over LANG")
            << QStringList { u"LC_ALL=en_GB.UTF-8"_s, u"LANG=ja_JP.UTF-8"_s } << english << copiedEnglish;
        QTest::newRow("LANGUAGE before a Japanese LANG") << QStringList { u"LC_ALL="_s, u"LANG=ja_JP.UTF-8"_s,
            u"LANGUAGE=en_US:ja"_s } << english << copiedEnglish;
        QTest::newRow("LANGUAGE under C is not read")
            << QStringList { u"LC_ALL="_s, u"LANG=C"_s, u"LANGUAGE=en_US"_s } << japanese << copiedJapanese;
    }
    void commandLine()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, usage);
        QFETCH(QString, report);
        TempTree tree;
        tree.file("source/a.jpg", "photo");
        tree.folder("dest");
        if (!environment.join(u' ').contains(u"LANGUAGE="_s))
            environment << u"LANGUAGE="_s;
        const ProgramResult wrong = runProgram(tree, { u"frobnicate"_s }, environment);
        QCOMPARE(wrong.exit, 2);
        QVERIFY2(wrong.err.startsWith(usage), qPrintable(wrong.err));
        // The usage that follows is the command line's own, in English everywhere.
        QVERIFY2(wrong.err.contains(u"\nUsage: quorvane"_s), qPrintable(wrong.err));
        const ProgramResult copied
            = runProgram(tree, { u"copy"_s, qs(tree.path("source")), qs(tree.path("dest")) }, environment);
        QCOMPARE(copied.exit, 0);
        QVERIFY2(copied.err.contains(report), qPrintable(copied.err));
    }
};

QUORVANE_GUI_TEST_MAIN(LanguageTest)
#include "tst_language.moc"
