#include "app/CommandLine.h"

#include "app/TerminalServices.h"
#include "app/TypedPath.h"
#include "run/CollectionRun.h"
#include "run/FixedRunWindow.h"
#include "run/RunReportText.h"
#include "toolkit/clsFileFolder.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: quorvane [FOLDER] [--source FOLDER] [--dest FOLDER]\n"
    "       quorvane copy SOURCE DEST [OPTIONS]\n"
    "       quorvane move SOURCE DEST [OPTIONS]\n"
    "       quorvane delete SOURCE [OPTIONS]\n"
    "       quorvane trash SOURCE [OPTIONS]\n"
    "       quorvane undo [OPTIONS]\n"
    "Without a subcommand the window starts; FOLDER or --source fills in its source\n"
    "folder and --dest its destination, for this start only (the settings stay).\n"
    "Gathers the files under SOURCE whose path ends in one of the extensions into the\n"
    "one folder DEST, numbering taken names, or deletes them or moves them to the trash.\n"
    "SOURCE and DEST may be relative to the working folder. undo takes back the last run.\n"
    "\n"
    "Options:\n"
    "  -t, --types LIST  comma-separated extensions, as in the window (default: jpg)\n"
    "      --dry-run     check, search and plan, print the plan, write nothing\n"
    "      --skip-identical  leave files whose bytes the destination already holds\n"
    "      --json        print the plan or the report as JSON lines\n"
    "  -0, --null        print NUL-separated names instead of lines\n"
    "  -q, --quiet       print no report\n"
    "  -y, --yes         answer yes to every question but whether to go on when the\n"
    "                    destination lacks the space (asked on a terminal, else no)\n"
    "  -h, --help        print this help\n"
    "      --version     print the version\n"
    "\n"
    "Exit status: 0 all files done, 1 some failed, were skipped or not done or a\n"
    "question was answered no, 2 bad usage or a failed check, 130 stopped by SIGINT\n"
    "or SIGTERM.\n";

struct Arguments {
    std::string command;
    std::vector<std::string> paths;
    std::string types = "jpg";
    bool dryRun = false, json = false, null = false, quiet = false, yes = false, skipIdentical = false;
};

std::optional<run::Operation> operationOf(const std::string& command)
{
    if (command == "copy")
        return run::Operation::Copy;
    if (command == "move")
        return run::Operation::Move;
    if (command == "delete")
        return run::Operation::Delete;
    if (command == "trash")
        return run::Operation::Recycle;
    return std::nullopt;
}

// Nothing when the arguments do not make a command.
std::optional<Arguments> parse(int argc, char** argv)
{
    Arguments arguments;
    arguments.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        if ((word == "-t" || word == "--types") && i + 1 < argc)
            arguments.types = argv[++i];
        else if (word.rfind("--types=", 0) == 0)
            arguments.types = word.substr(8);
        else if (word == "--dry-run")
            arguments.dryRun = true;
        else if (word == "--skip-identical")
            arguments.skipIdentical = true;
        else if (word == "--json")
            arguments.json = true;
        else if (word == "-0" || word == "--null")
            arguments.null = true;
        else if (word == "-q" || word == "--quiet")
            arguments.quiet = true;
        else if (word == "-y" || word == "--yes")
            arguments.yes = true;
        else if (word.size() > 1 && word[0] == '-')
            return std::nullopt;
        else
            arguments.paths.push_back(word);
    }
    const auto operation = operationOf(arguments.command);
    const std::size_t wanted = !operation ? 0
        : *operation == run::Operation::Copy || *operation == run::Operation::Move ? 2 : 1;
    if ((!operation && arguments.command != "undo") || arguments.paths.size() != wanted
        || (arguments.json && arguments.null))
        return std::nullopt;
    return arguments;
}

// One line on standard error, rewritten at most ten times a second, when it is a terminal.
class TerminalProgress final : public run::RunMonitor {
public:
    TerminalProgress() : m_shown(::isatty(STDERR_FILENO) != 0) {}
    void runStarted(const run::RunReport&) override {}
    void runProgressed(const run::RunReport& report) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (!m_shown || now - m_last < std::chrono::milliseconds(100))
            return;
        m_last = now;
        std::string line = run::report_text::progress(report, now);
        std::replace(line.begin(), line.end(), '\n', ' ');
        std::fprintf(stderr, "\r\033[K%s", line.c_str());
        m_written = true;
    }
    void runEnded(const run::RunReport&, bool) override
    {
        if (m_written)
            std::fprintf(stderr, "\r\033[K");
    }

private:
    bool m_shown;
    bool m_written = false;
    std::chrono::steady_clock::time_point m_last{};
};

// A JSON string of a path, and beside it the raw bytes when they are not UTF-8.
std::string jsonString(const std::string& text)
{
    std::string quoted = "\"";
    const QByteArray valid = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUtf8();
    for (const char c : valid) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string jsonPath(const char* key, const std::string& path)
{
    std::string field = std::string("\"") + key + "\":" + jsonString(path);
    const QByteArray raw = QByteArray::fromStdString(path);
    if (QString::fromUtf8(raw).toUtf8() != raw)
        field += std::string(",\"") + key + "_base64\":\"" + raw.toBase64().toStdString() + '"';
    return field;
}

const char* outcomeWord(run::FileOutcome outcome)
{
    switch (outcome) {
    case run::FileOutcome::Done:
        return "done";
    case run::FileOutcome::Skipped:
        return "skipped";
    case run::FileOutcome::Failed:
        return "failed";
    case run::FileOutcome::NotDone:
        break;
    }
    return "not-done";
}

void print(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void printFiles(const Arguments& arguments, const run::RunReport& report)
{
    for (const run::FileRecord& file : report.files) {
        if (!arguments.dryRun && file.outcome != run::FileOutcome::Done && !arguments.json)
            continue;
        // A twin is not placed: the plan's lines are those of the files the run places,
        // and the twins are listed on standard error.
        if (file.identical && !arguments.json)
            continue;
        if (arguments.json) {
            // (Appended piece by piece: "literal" + string trips a false -Wrestrict in GCC 12.)
            std::string line = "{";
            line += jsonPath("source", file.source.str());
            if (!file.dest.empty()) {
                line += ',';
                line += jsonPath("dest", file.dest.str());
            }
            line += ",\"bytes\":" + std::to_string(file.bytes) + ",\"renamed\":" + (file.renamed ? "true" : "false");
            line += std::string(",\"fitted\":") + (file.fitted ? "true" : "false");
            if (file.identical) {
                line += ',';
                line += jsonPath("identical", file.reason.text());
            }
            // A dry run's plan already leaves out what the destination cannot hold.
            if (!arguments.dryRun || file.outcome != run::FileOutcome::NotDone)
                line += std::string(",\"outcome\":\"") + outcomeWord(file.outcome) + '"'
                    + (file.reason.empty() ? "" : ",\"reason\":" + jsonString(file.reason));
            print(line + "}\n");
        } else {
            const char separator = arguments.null ? '\0' : '\t';
            const char end = arguments.null ? '\0' : '\n';
            std::string line = file.source.str();
            if (!file.dest.empty()) {
                line += separator;
                line += file.dest;
            }
            line += end;
            print(line);
        }
    }
}

} // namespace

bool isCommandLine(int argc, char** argv)
{
    if (argc < 2)
        return false;
    const std::string first = argv[1];
    return operationOf(first) || first == "undo" || first == "--help" || first == "-h" || first == "--version";
}

int printUsageError(const std::string& reason)
{
    std::fprintf(stderr, "quorvane: %s\n", reason.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

int runCommandLine(int argc, char** argv)
{
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("Quorvane %d.%d.%d\n", QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_PATCH);
        return 0;
    }
    const std::optional<Arguments> parsed = parse(argc, argv);
    if (!parsed) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const Arguments& arguments = *parsed;

    TerminalServices terminal(arguments.yes);
    TerminalServices::catchInterrupts();
    clsFileFolder toolkit(terminal.services());
    const auto path = [&](std::size_t index) {
        return index < arguments.paths.size() ? absoluteFromWorkingFolder(arguments.paths[index]) : std::string();
    };
    run::FixedRunWindow window({path(0), path(1), arguments.types,
                                operationOf(arguments.command).value_or(run::Operation::Copy)});
    run::CollectionRun collection(window, toolkit, terminal.services());
    TerminalProgress progress;
    collection.setMonitor(&progress);
    collection.setDryRun(arguments.dryRun);
    collection.setSkipIdentical(arguments.skipIdentical);
    terminal.onInterrupt = [&collection] { collection.requestClose(); };
    if (arguments.command == "undo")
        collection.undoLastClick();
    else
        collection.cmdStartClick();

    const run::RunReport& report = collection.report();
    if (!arguments.quiet || arguments.dryRun)
        printFiles(arguments, report);
    const run::RunCounts counts = report.counts();
    if (arguments.dryRun && !report.notice.empty())
        std::fprintf(stderr, "%s\n", report.notice.c_str());
    if (arguments.dryRun && !arguments.json)
        std::fputs(run::report_text::twins(report).c_str(), stderr);
    if (!arguments.dryRun && !arguments.quiet && !report.files.empty()) {
        if (arguments.json)
            print("{\"summary\":{\"done\":" + std::to_string(counts.done) + ",\"renamed\":" + std::to_string(counts.renamed)
                  + ",\"fitted\":" + std::to_string(counts.fitted)
                  + ",\"skipped\":" + std::to_string(counts.skipped) + ",\"identical\":" + std::to_string(counts.identical)
                  + ",\"failed\":" + std::to_string(counts.failed)
                  + ",\"notDone\":" + std::to_string(counts.notDone) + ",\"bytes\":" + std::to_string(counts.bytesDone)
                  + "}}\n");
        else if (!arguments.null)
            std::fputs(run::report_text::summary(report).c_str(), stderr);
        std::fputs(run::report_text::problems(report).c_str(), stderr);
    }
    std::fflush(stdout);
    if (TerminalServices::interrupted())
        return 130;
    if (report.files.empty() && terminal.messageCount() > 0)
        return 2;
    // Declined questions count too: the files were not done, also where none was
    // planned yet (a destination not made, an undo not begun).
    if (terminal.declinedCount() > 0)
        return 1;
    // Files left as the user asked (twins, a file listed twice) are no failure.
    return !arguments.dryRun && counts.done + counts.identical + counts.repeated < report.files.size() ? 1 : 0;
}
