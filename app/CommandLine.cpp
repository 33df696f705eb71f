#include "app/CommandLine.h"

#include "app/CommandTable.h"
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
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

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
    using command_table::OptionId;
    Arguments arguments;
    arguments.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        const command_table::Option* option = command_table::findOption(word, command_table::Scope::Subcommand);
        if (option == nullptr) {
            if (word.size() > 1 && word[0] == '-')
                return std::nullopt;
            arguments.paths.push_back(word);
            continue;
        }
        std::string value;
        if (!option->value.empty()) {
            if (const std::size_t equals = word.find('='); equals != std::string::npos)
                value = word.substr(equals + 1);
            else if (i + 1 < argc)
                value = argv[++i];
            else
                return std::nullopt;
        }
        switch (option->id) {
        case OptionId::Types:
            arguments.types = value;
            break;
        case OptionId::DryRun:
            arguments.dryRun = true;
            break;
        case OptionId::SkipIdentical:
            arguments.skipIdentical = true;
            break;
        case OptionId::Json:
            arguments.json = true;
            break;
        case OptionId::Null:
            arguments.null = true;
            break;
        case OptionId::Quiet:
            arguments.quiet = true;
            break;
        case OptionId::Yes:
            arguments.yes = true;
            break;
        default:
            return std::nullopt;
        }
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
    return argc >= 2
        && (command_table::isSubcommand(argv[1]) || command_table::findOption(argv[1], command_table::Scope::Alone));
}

int printUsageError(const std::string& reason)
{
    std::fprintf(stderr, "quorvane: %s\n", reason.c_str());
    std::fputs(command_table::usage().c_str(), stderr);
    return 2;
}

int runCommandLine(int argc, char** argv)
{
    if (const command_table::Option* alone = command_table::findOption(argv[1], command_table::Scope::Alone)) {
        if (alone->id == command_table::OptionId::Help)
            std::fputs(command_table::usage().c_str(), stdout);
        else
            std::printf("Quorvane %d.%d.%d\n", QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_PATCH);
        return 0;
    }
    const std::optional<Arguments> parsed = parse(argc, argv);
    if (!parsed) {
        std::fputs(command_table::usage().c_str(), stderr);
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
