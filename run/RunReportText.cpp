#include "run/RunReportText.h"

#include "platform/OperationTexts.h"
#include "platform/TextCatalog.h"

#include <cstdio>
#include <utility>

namespace run::report_text {

namespace {

using Clock = std::chrono::steady_clock;

// The first line of the summary, "コピーしたファイル: 12 (3.4 MB)", whole per operation so
// that a translation can word each its own way.
std::string doneLine(const RunReport& report)
{
    if (report.undo)
        return platform::translate("report_text", "元に戻したファイル: %1 (%2)");
    switch (report.operation) {
    case Operation::Copy:
        return platform::translate("report_text", "コピーしたファイル: %1 (%2)");
    case Operation::Move:
        return platform::translate("report_text", "移動したファイル: %1 (%2)");
    case Operation::Delete:
        return platform::translate("report_text", "削除したファイル: %1 (%2)");
    case Operation::Recycle:
        return platform::translate("report_text", "ごみ箱に入れたファイル: %1 (%2)");
    }
    return {};
}

void addLine(std::string& text, std::string_view line)
{
    text += line;
    text += '\n';
}

} // namespace

std::string operationName(Operation operation)
{
    switch (operation) {
    case Operation::Copy:
        return platform::translate("report_text", "コピー");
    case Operation::Move:
        return platform::translate("report_text", "移動");
    case Operation::Delete:
        return platform::translate("report_text", "完全削除");
    case Operation::Recycle:
        return platform::translate("report_text", "ごみ箱へ");
    }
    return {};
}

std::string title(const RunReport& report)
{
    using platform::fillIn;
    const std::string name
        = report.undo ? platform::translate("report_text", "元に戻す") : operationName(report.operation);
    if (report.ended)
        return fillIn(report.stopped ? platform::translate("report_text", "中断 - %1")
                                     : platform::translate("report_text", "完了 - %1"),
            { name });
    return fillIn(
        platform::translate("report_text", "%1% - %2"), { std::to_string(report.permille() / 10), name });
}

std::string count(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

std::string size(std::uint64_t bytes)
{
    if (bytes < 1024)
        return platform::fillIn(platform::translate("report_text", "%1 バイト"), { std::to_string(bytes) });
    static const char* const units[] = {"KB", "MB", "GB", "TB", "PB"};
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    while (value >= 1024.0 && unit + 1 < std::size(units)) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

std::string duration(Clock::duration elapsed)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

std::string progress(const RunReport& report, Clock::time_point now)
{
    using platform::fillIn;
    using platform::operation_texts::Verb;
    static constexpr Verb verbs[] = {Verb::Copy, Verb::Move, Verb::Delete, Verb::Trash};
    std::string text;
    addLine(text,
        report.undo ? platform::translate("report_text", "元に戻しています...")
                    : platform::operation_texts::progressTitle(verbs[static_cast<int>(report.operation)]));
    if (report.files.empty() && !report.searched) {
        addLine(text, platform::translate("report_text", "ファイルを探しています..."));
        addLine(text,
            fillIn(platform::translate("report_text", "検索したフォルダ: %1　見つかったファイル: %2"),
                { count(report.foldersSearched), count(report.filesFound) }));
    } else if (report.files.empty()) {
        addLine(text, platform::translate("report_text", "処理の準備をしています..."));
    } else {
        addLine(text,
            fillIn(platform::translate("report_text", "ファイル: %1 / %2"),
                { count(report.filesFinished), count(report.files.size()) }));
        if (report.bytesTotal > 0)
            addLine(text,
                fillIn(platform::translate("report_text", "サイズ: %1 / %2"),
                    { size(report.bytesFinished + report.currentBytesDone), size(report.bytesTotal) }));
    }
    const Clock::duration elapsed = report.elapsed(now);
    // An estimate from the share done so far; none before there is a share to go by.
    const int permille = report.permille();
    if (permille >= 10 && permille < 1000)
        addLine(text,
            fillIn(platform::translate("report_text", "経過時間: %1　残り時間: 約 %2"),
                { duration(elapsed), duration(elapsed * (1000 - permille) / permille) }));
    else
        addLine(text, fillIn(platform::translate("report_text", "経過時間: %1"), { duration(elapsed) }));
    return text;
}

std::string summary(const RunReport& report)
{
    const RunCounts counts = report.counts();
    std::string text;
    using platform::fillIn;
    addLine(text, fillIn(doneLine(report), { count(counts.done), size(counts.bytesDone) }));
    if (counts.renamed > 0)
        addLine(text,
            fillIn(platform::translate("report_text", "　うち番号付きの名前にしたファイル: %1"),
                { count(counts.renamed) }));
    if (counts.fitted > 0)
        addLine(text,
            fillIn(platform::translate("report_text", "　うち保存先に合わせて名前を変えたファイル: %1"),
                { count(counts.fitted) }));
    if (counts.identical > 0)
        addLine(text,
            fillIn(platform::translate("report_text", "同じ内容のため省略したファイル: %1"),
                { count(counts.identical) }));
    if (counts.skipped > 0)
        addLine(text,
            fillIn(
                platform::translate("report_text", "スキップしたファイル: %1"), { count(counts.skipped) }));
    if (counts.failed > 0)
        addLine(text,
            fillIn(platform::translate("report_text", "失敗したファイル: %1"), { count(counts.failed) }));
    if (counts.notDone > 0)
        addLine(text,
            fillIn(
                platform::translate("report_text", "処理しなかったファイル: %1"), { count(counts.notDone) }));
    addLine(text,
        fillIn(platform::translate("report_text", "所要時間: %1"),
            { duration(report.elapsed(report.finished)) }));
    if (!report.notice.empty())
        addLine(text, report.notice);
    return text;
}

std::string twins(const RunReport& report)
{
    std::string text;
    for (const FileRecord& file : report.files) {
        if (file.outcome != FileOutcome::Skipped || !file.identical)
            continue;
        if (text.empty())
            addLine(
                text, platform::translate("report_text", "同じ内容のファイルがあるため省略したファイル:"));
        addLine(text, file.source);
        addLine(text, "    = " + file.reason.text());
    }
    return text;
}

std::string problems(const RunReport& report)
{
    std::string text;
    for (const FileRecord& file : report.files) {
        if (file.outcome != FileOutcome::Failed && (file.outcome != FileOutcome::Skipped || file.identical))
            continue;
        addLine(text, file.source);
        addLine(text, "    " + file.reason.text());
    }
    text += twins(report);
    bool headed = false;
    for (const FileRecord& file : report.files) {
        if (file.outcome != FileOutcome::Done || !file.fitted)
            continue;
        if (!std::exchange(headed, true))
            addLine(text,
                platform::translate(
                    "report_text", "保存先のファイル システムに合わせて名前を変えたファイル:"));
        addLine(text, file.source);
        const std::string_view dest = file.dest;
        addLine(text, "    → " + std::string(dest.substr(dest.rfind('/') + 1)));
    }
    return text;
}

} // namespace run::report_text
