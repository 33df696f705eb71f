#include "run/MoveBatch.h"

#include "toolkit/clsFileFolder.h"

#include <utility>

namespace run {

namespace {

constexpr std::size_t kBatchFiles = 1000;
constexpr std::uint64_t kBatchBytes = 256u << 20;
constexpr auto kBatchWait = std::chrono::seconds(1);

} // namespace

CollectionRun::MoveBatch::~MoveBatch()
{
    // The loop was left by an exception: the copies made so far are settled all the
    // same, or, should that fail too, stay with their sources and are left undone.
    try {
        settle();
    } catch (...) {
    }
}

void CollectionRun::MoveBatch::add(std::size_t index, platform::LeftSource move,
                                   std::optional<undo::Recorded> placed)
{
    if (m_moves.empty())
        m_started = std::chrono::steady_clock::now();
    m_bytes += move.bytes;
    m_records.push_back({index, placed});
    m_moves.push_back(std::move(move));
}

void CollectionRun::MoveBatch::settleWhenDue()
{
    if (!m_moves.empty()
        && (m_moves.size() >= kBatchFiles || m_bytes >= kBatchBytes
            || std::chrono::steady_clock::now() - m_started >= kBatchWait))
        handOver();
}

void CollectionRun::MoveBatch::settle()
{
    handOver();
    collect();
}

void CollectionRun::MoveBatch::handOver()
{
    collect();
    m_finishing = std::exchange(m_records, {});
    m_bytes = 0;
    m_finisher.start(std::exchange(m_moves, {}), m_removers);
}

void CollectionRun::MoveBatch::collect()
{
    // Taken out first: a batch is completed once, whatever happens while it is.
    const std::vector<Waiting> records = std::exchange(m_finishing, {});
    const std::vector<platform::FileOperationOutcome> outcomes =
        m_finisher.finish(m_run.m_services.operations, m_run.objFileFolder.Target());
    m_run.m_journal.hold();
    for (std::size_t i = 0; i < records.size() && i < outcomes.size(); ++i) {
        FileRecord& file = m_run.m_report.files[records[i].record];
        m_run.finishRecord(file, outcomes[i]);
        m_run.journalDone(file, nullptr, records[i].placed ? &*records[i].placed : nullptr);
        if (outcomes[i].stopRequested)
            m_run.blnCancel = true;
    }
    m_run.m_journal.release();
}

} // namespace run
