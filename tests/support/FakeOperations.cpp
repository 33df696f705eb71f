#include "support/FakeOperations.h"

#include <algorithm>

namespace {

class RecordingReport final : public platform::ProgressReport {
public:
    explicit RecordingReport(FakeOperations& fake) : m_fake(fake) {}

    void beginItem(std::size_t index, std::size_t, const std::string& name,
                   std::uint64_t) override
    {
        m_fake.itemNames.push_back(name);
        if (m_fake.onItem)
            m_fake.onItem(static_cast<int>(index) + 1);
    }
    void addBytes(std::uint64_t bytes) override { m_fake.bytesReported += bytes; }
    bool cancelRequested() const override { return m_fake.cancelPressed; }

private:
    FakeOperations& m_fake;
};

} // namespace

void FakeOperations::runWithProgress(std::uint64_t, const std::string& title, bool showProgress,
                                     const std::function<void(platform::ProgressReport&)>& work)
{
    progressTitles.push_back(showProgress ? title : std::string());
    RecordingReport report(*this);
    work(report);
}

std::size_t FakeOperations::choose(std::uint64_t, const std::string& text,
                                   const std::vector<std::string>& offered,
                                   std::size_t escapeIndex)
{
    shown.push_back(text);
    buttons.push_back(offered);
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
