#include "support/FakeOperations.h"

#include <algorithm>

void FakeOperations::runWithProgress(std::uint64_t, const std::string& title, bool showProgress,
                                     const std::function<void(platform::ProgressReport&)>& work)
{
    progressTitles.push_back(showProgress ? title : std::string());
    work(*this);
}

std::size_t FakeOperations::choose(std::uint64_t, const std::string& text,
                                   const std::vector<std::string>& offered,
                                   std::size_t escapeIndex)
{
    shown.push_back(text);
    if (!answers.empty()) {
        const std::string answer = answers.front();
        answers.pop_front();
        const auto found = std::find(offered.begin(), offered.end(), answer);
        if (found != offered.end())
            return static_cast<std::size_t>(found - offered.begin());
    }
    unexpected.push_back(text);
    return escapeIndex;
}

void FakeOperations::beginItem(std::size_t index, std::size_t, const std::string& name, std::uint64_t)
{
    itemNames.push_back(name);
    if (onItem)
        onItem(static_cast<int>(index) + 1);
}
