#include "run/DestPlanner.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace run {

namespace {

constexpr std::int32_t kNoBucket = -1;

} // namespace

DestPlanner::DestPlanner(NameRules rules, std::function<bool()> keepGoing)
    : m_rules(std::move(rules)), m_keepGoing(std::move(keepGoing))
{
}

std::string_view DestPlanner::keyOf(const std::string& name)
{
    if (!m_rules.nameKey)
        return name;
    m_keyScratch = m_rules.nameKey(name);
    return m_keyScratch;
}

std::int32_t DestPlanner::findBucket(const std::string& name)
{
    const auto found = m_bucketByKey.find(keyOf(name));
    return found == m_bucketByKey.end() ? kNoBucket : found->second;
}

std::int32_t DestPlanner::bucketOf(const std::string& name)
{
    const std::string_view key = keyOf(name);
    const auto found = m_bucketByKey.find(key);
    return found != m_bucketByKey.end() ? found->second : addBucket(key);
}

std::int32_t DestPlanner::addBucket(std::string_view key)
{
    const auto bucket = static_cast<std::int32_t>(m_buckets.size());
    m_bucketByKey.emplace(std::string(key), bucket);
    m_buckets.emplace_back();
    return bucket;
}

void DestPlanner::leaveBucket(std::int32_t entry)
{
    // The entry stays in the bucket's list; it is recognised as gone by its own record.
    --m_buckets[m_bucketOfEntry[entry]].live;
    m_bucketOfEntry[entry] = kNoBucket;
}

void DestPlanner::joinBucket(std::int32_t entry, std::int32_t bucket)
{
    Bucket& target = m_buckets[bucket];
    if (target.live == 0) {
        // Nobody bears this name any more: drop the records of those who left.
        target.many.clear();
        target.single = entry;
    } else {
        if (target.many.empty())
            target.many.push_back(target.single);
        target.many.insert(std::lower_bound(target.many.begin(), target.many.end(), entry), entry);
    }
    ++target.live;
    m_bucketOfEntry[entry] = bucket;
}

std::int32_t DestPlanner::othersBearing(std::int32_t bucket) const
{
    if (bucket == kNoBucket)
        return 0;
    return m_buckets[bucket].live + (bucket == m_passBucket ? 1 : 0);
}

void DestPlanner::renumber(std::string& name, std::size_t& suffixLength,
                           std::int32_t counter) const
{
    const std::size_t stemEnd = std::min(m_rules.stemEnd(name), name.size());
    // A suffix given earlier in the same pass is replaced, not stacked.
    const std::size_t keptStem = stemEnd - std::min(suffixLength, stemEnd);
    name = numberedName(name, keptStem, stemEnd, counter, m_rules.nameLength);
    suffixLength = 1 + counterText(counter).size();
}

bool DestPlanner::plan(PathList& names, std::int32_t lastIndex)
{
    const std::int32_t count = lastIndex + 1;
    m_bucketByKey.clear();
    m_buckets.clear();
    m_bucketOfEntry.assign(static_cast<std::size_t>(std::max(count, 0)), kNoBucket);
    // Every entry may come to bear a name of its own, besides the names it starts with.
    m_bucketByKey.reserve(static_cast<std::size_t>(std::max(count, 0)) * 2);
    for (std::int32_t i = 0; i < count; ++i) {
        if (!m_keepGoing())
            return false;
        joinBucket(i, bucketOf(names[i]));
    }
    for (std::int32_t j = 0; j < count; ++j) {
        if (!pass(names, j))
            return false;
    }
    return true;
}

bool DestPlanner::pass(PathList& names, std::int32_t j)
{
    std::int32_t counter = 0;
    const std::int32_t startBucket = m_bucketOfEntry[j];
    leaveBucket(j);
    m_passBucket = startBucket;

    // First the disk: number the entry until its name is free there.
    std::size_t ownSuffix = 0;
    for (;;) {
        if (!m_keepGoing())
            return false;
        if (!m_rules.isTaken(names[j]))
            break;
        renumber(names[j], ownSuffix, ++counter);
    }
    if (ownSuffix != 0)
        m_passBucket = bucketOf(names[j]);

    // Then the plan, in list order. Only entries bearing the starting name or the
    // entry's numbered name are affected, so only those are visited.
    constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();
    const auto nextLive = [this](std::int32_t bucket, std::int32_t after) {
        if (bucket == kNoBucket)
            return kNone;
        const std::span<const std::int32_t> entries = m_buckets[bucket].entries();
        auto at = std::upper_bound(entries.begin(), entries.end(), after);
        while (at != entries.end() && m_bucketOfEntry[*at] != bucket)
            ++at;
        return at == entries.end() ? kNone : *at;
    };
    // Numbers `name` further while another entry bears it; returns its final bucket.
    const auto makeUnique = [&](std::string& name, std::size_t& suffixLength) {
        for (std::int32_t bucket = findBucket(name);; bucket = findBucket(name)) {
            if (bucket == kNoBucket)
                return addBucket(keyOf(name));
            if (othersBearing(bucket) == 0)
                return bucket;
            renumber(name, suffixLength, ++counter);
        }
    };

    // Entries bearing the numbered name stop mattering once the entry has been
    // renamed in the plan: its new name is borne by nobody else.
    std::int32_t ownBucket = m_passBucket != startBucket ? m_passBucket : kNoBucket;
    for (std::int32_t position = -1;;) {
        const std::int32_t nextStart = nextLive(startBucket, position);
        const std::int32_t nextOwn = nextLive(ownBucket, position);
        position = std::min(nextStart, nextOwn);
        if (position == kNone)
            break;
        if (!m_keepGoing())
            return false;
        if (position == nextStart) {
            std::size_t suffixLength = 0;
            leaveBucket(position);
            renumber(names[position], suffixLength, ++counter);
            joinBucket(position, makeUnique(names[position], suffixLength));
        } else {
            renumber(names[j], ownSuffix, ++counter);
            m_passBucket = kNoBucket;
            m_passBucket = makeUnique(names[j], ownSuffix);
            ownBucket = kNoBucket;
        }
    }
    joinBucket(j, m_passBucket);
    m_passBucket = kNoBucket;
    return true;
}

} // namespace run
