#include "run/RunReportText.h"

#include "platform/OperationTexts.h"

#include <cstdio>
#include <utility>

namespace run::report_text {

namespace {

using Clock = std::chrono::steady_clock;

const char* doneVerb(const RunReport& report)
{
    if (report.undo)
        return "元に戻した";
    switch (report.operation) {
    case Operation::Copy:
        return "コピーした";
    case Operation::Move:
        return "移動した";
    case Operation::Delete:
        return "削除した";
    case Operation::Recycle:
        return "ごみ箱に入れた";
    }
    return "";
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
        return "コピー";
    case Operation::Move:
        return "移動";
    case Operation::Delete:
        return "完全削除";
    case Operation::Recycle:
        return "ごみ箱へ";
    }
    return {};
}

std::string title(const RunReport& report)
{
    const std::string name = report.undo ? "元に戻す" : operationName(report.operation);
    if (report.ended)
        return (report.stopped ? "中断 - " : "完了 - ") + name;
    return std::to_string(report.permille() / 10) + "% - " + name;
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
        return std::to_string(bytes) + " バイト";
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
    using platform::operation_texts::Verb;
    static constexpr Verb verbs[] = {Verb::Copy, Verb::Move, Verb::Delete, Verb::Trash};
    std::string text;
    addLine(text, report.undo ? "元に戻しています..."
                              : platform::operation_texts::progressTitle(verbs[static_cast<int>(report.operation)]));
    if (report.files.empty() && !report.searched) {
        addLine(text, "ファイルを探しています...");
        addLine(text, "検索したフォルダ: " + count(report.foldersSearched) + "　見つかったファイル: "
                          + count(report.filesFound));
    } else if (report.files.empty()) {
        addLine(text, "処理の準備をしています...");
    } else {
        addLine(text, "ファイル: " + count(report.filesFinished) + " / " + count(report.files.size()));
        if (report.bytesTotal > 0)
            addLine(text, "サイズ: " + size(report.bytesFinished + report.currentBytesDone) + " / "
                              + size(report.bytesTotal));
    }
    const Clock::duration elapsed = report.elapsed(now);
    std::string times = "経過時間: " + duration(elapsed);
    // An estimate from the share done so far; none before there is a share to go by.
    const int permille = report.permille();
    if (permille >= 10 && permille < 1000)
        times += "　残り時間: 約 " + duration(elapsed * (1000 - permille) / permille);
    addLine(text, times);
    return text;
}

std::string summary(const RunReport& report)
{
    const RunCounts counts = report.counts();
    std::string text;
    addLine(text, std::string(doneVerb(report)) + "ファイル: " + count(counts.done) + " ("
                      + size(counts.bytesDone) + ")");
    if (counts.renamed > 0)
        addLine(text, "　うち番号付きの名前にしたファイル: " + count(counts.renamed));
    if (counts.fitted > 0)
        addLine(text, "　うち保存先に合わせて名前を変えたファイル: " + count(counts.fitted));
    if (counts.identical > 0)
        addLine(text, "同じ内容のため省略したファイル: " + count(counts.identical));
    if (counts.skipped > 0)
        addLine(text, "スキップしたファイル: " + count(counts.skipped));
    if (counts.failed > 0)
        addLine(text, "失敗したファイル: " + count(counts.failed));
    if (counts.notDone > 0)
        addLine(text, "処理しなかったファイル: " + count(counts.notDone));
    addLine(text, "所要時間: " + duration(report.elapsed(report.finished)));
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
            addLine(text, "同じ内容のファイルがあるため省略したファイル:");
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
            addLine(text, "保存先のファイル システムに合わせて名前を変えたファイル:");
        addLine(text, file.source);
        const std::string_view dest = file.dest;
        addLine(text, "    → " + std::string(dest.substr(dest.rfind('/') + 1)));
    }
    return text;
}

} // namespace run::report_text
