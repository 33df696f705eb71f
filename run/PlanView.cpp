#include "run/PlanView.h"

#include "run/RunTexts.h"

namespace run {

PlanState planState(const FileRecord& file)
{
    if (file.identical)
        return PlanState::Identical;
    if (file.listedTwice)
        return PlanState::ListedTwice;
    if (file.outcome == FileOutcome::Skipped)
        return file.reason.text() == texts::pathTooLong() ? PlanState::Unreachable : PlanState::TooLarge;
    if (file.renamed)
        return PlanState::Numbered;
    if (file.fitted)
        return PlanState::Fitted;
    return PlanState::AsIs;
}

std::string planStateName(PlanState state)
{
    static constexpr std::array<const char*, kPlanStates> names = {
        PLATFORM_TEXT_NOOP("PlanView", "そのまま"),
        PLATFORM_TEXT_NOOP("PlanView", "番号付き"),
        PLATFORM_TEXT_NOOP("PlanView", "保存先に合わせて変更"),
        PLATFORM_TEXT_NOOP("PlanView", "同じ内容のため省略"),
        PLATFORM_TEXT_NOOP("PlanView", "大きすぎる"),
        PLATFORM_TEXT_NOOP("PlanView", "重複指定"),
        PLATFORM_TEXT_NOOP("PlanView", "パスが長すぎる"),
    };
    return platform::translate("PlanView", names[static_cast<std::size_t>(state)]);
}

PlanTotals planTotals(const RunReport& plan)
{
    PlanTotals totals;
    totals.files = plan.files.size();
    for (const FileRecord& file : plan.files) {
        const PlanState state = planState(file);
        ++totals.byState[static_cast<std::size_t>(state)];
        if (state == PlanState::AsIs || state == PlanState::Numbered || state == PlanState::Fitted)
            totals.bytes += file.bytes;
    }
    return totals;
}

bool isChange(PlanState state)
{
    return state != PlanState::AsIs;
}

bool samePlan(const RunReport& a, const RunReport& b)
{
    if (a.operation != b.operation || a.files.size() != b.files.size())
        return false;
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        const FileRecord& x = a.files[i];
        const FileRecord& y = b.files[i];
        if (x.source.view() != y.source.view() || x.dest.view() != y.dest.view() || x.bytes != y.bytes
            || planState(x) != planState(y))
            return false;
    }
    return true;
}

} // namespace run
