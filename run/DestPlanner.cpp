#include "run/DestPlanner.h"

#include "platform/MemoryTuning.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>
#include <optional>
#include <utility>

namespace run {

namespace {

constexpr std::int32_t kNoBucket = -1;
// Marks, in a bucket's key length, a key stored whole because it lacks the shared prefix.
constexpr std::uint32_t kOutside = 0x800000U;

std::uint32_t hashOf(std::string_view key)
{
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(key));
}

} // namespace

DestPlanner::DestPlanner(NameRules rules, std::function<bool()> keepGoing, PlanPartitioning partitioning)
    : m_rules(std::move(rules)), m_keepGoing(std::move(keepGoing)), m_partitioning(partitioning)
{
}

std::span<const std::int32_t> DestPlanner::entriesOf(const Bucket& bucket) const
{
    if (bucket.entries <= -2)
        return m_manyLists[static_cast<std::size_t>(-2 - bucket.entries)];
    return {&bucket.entries, bucket.entries < 0 ? 0U : 1U};
}

std::string_view DestPlanner::keyOf(const std::string& name)
{
    if (!m_rules.nameKey)
        return name;
    m_keyScratch = m_rules.nameKey(name);
    return m_keyScratch;
}

DestPlanner::StoredKey DestPlanner::storedKey(std::string_view key) const
{
    const bool outside = key.substr(0, m_keyPrefix.size()) != m_keyPrefix;
    if (!outside)
        key.remove_prefix(m_keyPrefix.size());
    // The flag keeps a whole key apart from a shortened one with the same bytes.
    return {key, outside, hashOf(key) ^ (outside ? 0x9E3779B9U : 0U)};
}

std::int32_t DestPlanner::findKey(const StoredKey& key, std::size_t& slot) const
{
    const std::size_t mask = m_slots.size() - 1;
    const std::uint32_t length = static_cast<std::uint32_t>(key.bytes.size()) | (key.outside ? kOutside : 0U);
    for (slot = key.hash & mask;; slot = (slot + 1) & mask) {
        const Slot& probe = m_slots[slot];
        if (probe.bucket == kNoBucket)
            return kNoBucket;
        if (probe.hash != key.hash)
            continue;
        const Bucket& candidate = m_buckets[static_cast<std::size_t>(probe.bucket)];
        if (candidate.keyLength == length
            && std::string_view(m_keyBytes.data() + candidate.keyOffset, key.bytes.size()) == key.bytes)
            return probe.bucket;
    }
}

std::int32_t DestPlanner::findBucket(const std::string& name)
{
    std::size_t slot = 0;
    return findKey(storedKey(keyOf(name)), slot);
}

std::int32_t DestPlanner::bucketOf(const std::string& name)
{
    const StoredKey key = storedKey(keyOf(name));
    std::size_t slot = 0;
    const std::int32_t found = findKey(key, slot);
    return found != kNoBucket ? found : addBucket(key, slot);
}

std::int32_t DestPlanner::addBucket(std::string_view key)
{
    const StoredKey stored = storedKey(key);
    std::size_t slot = 0;
    findKey(stored, slot);
    return addBucket(stored, slot);
}

std::int32_t DestPlanner::addBucket(const StoredKey& key, std::size_t slot)
{
    const auto bucket = static_cast<std::int32_t>(m_buckets.size());
    const std::uint32_t length = static_cast<std::uint32_t>(key.bytes.size()) | (key.outside ? kOutside : 0U);
    m_buckets.push_back({m_keyBytes.size(), length, 0, -1});
    m_keyBytes.insert(m_keyBytes.end(), key.bytes.begin(), key.bytes.end());
    m_slots[slot] = {bucket, key.hash};
    // At most half full, so that a probe ends after a few slots.
    if (m_buckets.size() * 2 > m_slots.size())
        growSlots();
    return bucket;
}

void DestPlanner::growSlots()
{
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& moving : old) {
        if (moving.bucket == kNoBucket)
            continue;
        std::size_t slot = moving.hash & mask;
        while (m_slots[slot].bucket != kNoBucket)
            slot = (slot + 1) & mask;
        m_slots[slot] = moving;
    }
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
    if (target.entries > -2 && target.live == 0) {
        // Nobody else bears this name: the one who left, if any, is forgotten.
        target.entries = entry;
    } else if (target.live == 0) {
        // Nobody bears this name any more: drop the records of those who left.
        std::vector<std::int32_t>& many = m_manyLists[static_cast<std::size_t>(-2 - target.entries)];
        many.clear();
        many.push_back(entry);
    } else {
        if (target.entries >= 0) {
            const std::int32_t single = target.entries;
            target.entries = -2 - static_cast<std::int32_t>(m_manyLists.size());
            m_manyLists.emplace_back(1, single);
        }
        std::vector<std::int32_t>& many = m_manyLists[static_cast<std::size_t>(-2 - target.entries)];
        // Entries mostly join in list order, at the end.
        if (many.back() < entry)
            many.push_back(entry);
        else
            many.insert(std::lower_bound(many.begin(), many.end(), entry), entry);
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

bool DestPlanner::renumber(std::string& name, std::size_t& suffixLength,
                           std::int32_t counter) const
{
    const std::size_t stemEnd = std::min(m_rules.stemEnd(name), name.size());
    // A suffix given earlier in the same pass is replaced, not stacked.
    const std::size_t keptStem = stemEnd - std::min(suffixLength, stemEnd);
    const std::size_t extension = name.size() - stemEnd;
    name = numberedName(name, keptStem, stemEnd, counter, m_rules.nameLength);
    suffixLength = 1 + counterText(counter).size();
    // In its family: a three-digit counter, the stem whole, the extension where it was.
    const std::size_t newStemEnd = keptStem + suffixLength;
    return counter <= 999 && name.size() == newStemEnd + extension && m_rules.stemEnd(name) == newStemEnd;
}

std::uint64_t DestPlanner::familyHash(const std::string& name)
{
    // The key without the numbering suffixes its stem ends in, and its extension.
    const std::string_view key = keyOf(name);
    const std::size_t stemEnd = std::min(m_rules.stemEnd(key), key.size());
    const auto isDigit = [&key](std::size_t at) { return key[at] >= '0' && key[at] <= '9'; };
    std::size_t root = stemEnd;
    while (root >= 4 && key[root - 4] == '_' && isDigit(root - 3) && isDigit(root - 2) && isDigit(root - 1)
           && key.substr(root - 3, 3) != "000")
        root -= 4;
    const std::hash<std::string_view> hash;
    return hash(key.substr(0, root)) * 0x9E3779B97F4A7C15ULL + hash(key.substr(stemEnd));
}

bool DestPlanner::plan(PathList& names, std::int32_t lastIndex)
{
    const std::int32_t count = std::max(lastIndex + 1, 0);
    // Room for a numbered name's block per entry, which most entries of a large plan get.
    constexpr std::size_t kNumberedNameBlock = 32;
    platform::growHeapOnLargePages(static_cast<std::size_t>(count) * kNumberedNameBlock);
    if (static_cast<std::size_t>(count) > m_partitioning.wholeUpTo) {
        if (const std::optional<bool> finished = planInParts(names, count))
            return *finished;
    }
    return planWhole(names, count);
}

std::optional<bool> DestPlanner::planInParts(PathList& names, std::int32_t count)
{
    const auto entries = static_cast<std::size_t>(count);
    const std::size_t perPart = std::max<std::size_t>(m_partitioning.entriesPerPart, 1);
    const std::size_t parts = std::bit_ceil((entries + perPart - 1) / perPart);
    // The entries of each part, in list order (a counting sort by part).
    std::vector<std::size_t> starts(parts + 1, 0);
    // All of it fresh memory, the size of the plan: on large pages, as the index is.
    std::vector<std::int32_t> order;
    platform::reserveOnLargePages(order, entries);
    order.resize(entries);
    {
        std::vector<std::uint32_t> partOf;
        platform::reserveOnLargePages(partOf, entries);
        partOf.resize(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            if (!m_keepGoing())
                return false;
            partOf[i] = static_cast<std::uint32_t>(familyHash(names[i]) & (parts - 1));
            ++starts[partOf[i] + 1];
        }
        // One family holding most of the plan leaves nothing to gain.
        if (*std::max_element(starts.begin(), starts.end()) * 2 > entries)
            return std::nullopt;
        for (std::size_t part = 0; part < parts; ++part)
            starts[part + 1] += starts[part];
        std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
        for (std::size_t i = 0; i < entries; ++i)
            order[next[partOf[i]]++] = static_cast<std::int32_t>(i);
    }
    // The names as they came, for planning again whole should families meet.
    std::string saved;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < entries; ++i)
        bytes += names[i].size();
    if (bytes > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    std::vector<std::uint32_t> savedEnds;
    platform::reserveOnLargePages(savedEnds, entries);
    savedEnds.resize(entries);
    platform::reserveOnLargePages(saved, bytes);
    for (std::size_t i = 0; i < entries; ++i) {
        saved += names[i];
        savedEnds[i] = static_cast<std::uint32_t>(saved.size());
    }

    m_leftFamily = false;
    PathList part;
    for (std::size_t p = 0; p < parts && !m_leftFamily; ++p) {
        part.clear();
        for (std::size_t k = starts[p]; k < starts[p + 1]; ++k)
            part.push_back(std::move(names[static_cast<std::size_t>(order[k])]));
        const bool finished = planWhole(part, static_cast<std::int32_t>(part.size()));
        for (std::size_t k = starts[p]; k < starts[p + 1]; ++k)
            names[static_cast<std::size_t>(order[k])] = std::move(part[k - starts[p]]);
        if (!finished)
            return false;
    }
    if (!m_leftFamily)
        return true;
    for (std::size_t i = 0, from = 0; i < entries; from = savedEnds[i++])
        names[i].assign(saved, from, savedEnds[i] - from);
    return std::nullopt;
}

bool DestPlanner::planWhole(PathList& names, std::int32_t count)
{
    const auto entries = static_cast<std::size_t>(count);
    m_buckets.clear();
    m_manyLists.clear();
    m_keyBytes.clear();
    platform::reserveOnLargePages(m_bucketOfEntry, entries);
    m_bucketOfEntry.assign(entries, kNoBucket);
    // Every entry may come to bear a name of its own, besides the names it starts with;
    // room reserved and never written costs no memory.
    std::size_t nameBytes = 0;
    for (std::int32_t i = 0; i < count; ++i)
        nameBytes += names[static_cast<std::size_t>(i)].size();
    platform::reserveOnLargePages(m_keyBytes, 2 * nameBytes + entries * 8);
    platform::reserveOnLargePages(m_buckets, 2 * entries);
    const std::size_t slots = std::bit_ceil(std::max<std::size_t>(2 * entries, 16));
    platform::reserveOnLargePages(m_slots, slots);
    m_slots.assign(slots, Slot{});
    // The names of a plan share their folder: keys are kept without it.
    m_keyPrefix.clear();
    if (count > 0) {
        const std::string_view first = keyOf(names[0]);
        m_keyPrefix.assign(first.substr(0, first.rfind('/') + 1));
    }
    for (std::int32_t i = 0; i < count; ++i) {
        if (!m_keepGoing())
            return false;
        joinBucket(i, bucketOf(names[i]));
    }
    // A plan of a million names is far larger than the caches, and most passes touch
    // little besides their entry's name and bucket: those are fetched a few passes ahead.
    constexpr std::int32_t kAhead = 8;
    for (std::int32_t j = 0; j < count; ++j) {
        if (j + kAhead < count)
            fetchAhead(names, j + kAhead);
        if (!pass(names, j))
            return false;
    }
    return true;
}

void DestPlanner::fetchAhead(const PathList& names, std::int32_t entry) const
{
    __builtin_prefetch(names[static_cast<std::size_t>(entry)].data());
    const std::int32_t bucket = m_bucketOfEntry[static_cast<std::size_t>(entry)];
    if (bucket != kNoBucket)
        __builtin_prefetch(&m_buckets[static_cast<std::size_t>(bucket)]);
}

void DestPlanner::fetchBearersAhead(const PathList& names, std::int32_t bucket, std::int32_t position,
                                    std::int32_t counter)
{
    // The bearers of a name lie scattered over the plan, and each numbered name lands on
    // a slot of its own: both are fetched a few bearers early. The numbered name of a
    // bearer ahead is guessed by counting one number a bearer, which it nearly always is.
    constexpr std::ptrdiff_t kAhead = 3;
    const std::span<const std::int32_t> entries = entriesOf(m_buckets[static_cast<std::size_t>(bucket)]);
    const auto next = std::upper_bound(entries.begin(), entries.end(), position);
    if (entries.end() - next > 2 * kAhead) {
        const auto far = static_cast<std::size_t>(next[2 * kAhead - 1]);
        // The name itself, not its bytes: finding where those lie would wait for it.
        __builtin_prefetch(&names[far]);
        __builtin_prefetch(&m_bucketOfEntry[far]);
    }
    if (entries.end() - next >= kAhead) {
        const std::string& bearer = names[static_cast<std::size_t>(next[kAhead - 1])];
        const std::size_t stemEnd = std::min(m_rules.stemEnd(bearer), bearer.size());
        assignNumberedName(m_guess, bearer, stemEnd, stemEnd, counter + 1 + static_cast<std::int32_t>(kAhead),
                           m_rules.nameLength);
        __builtin_prefetch(&m_slots[storedKey(keyOf(m_guess)).hash & (m_slots.size() - 1)]);
    }
}

bool DestPlanner::pass(PathList& names, std::int32_t j)
{
    std::int32_t counter = 0;
    const std::int32_t startBucket = m_bucketOfEntry[j];
    leaveBucket(j);
    m_passBucket = startBucket;

    // First the disk: number the entry until its name is free there.
    std::size_t ownSuffix = 0;
    const auto number = [this, &counter](std::string& name, std::size_t& suffixLength) {
        if (!renumber(name, suffixLength, ++counter))
            m_leftFamily = true;
    };
    for (;;) {
        if (!m_keepGoing())
            return false;
        if (!m_rules.isTaken(names[j]))
            break;
        number(names[j], ownSuffix);
    }
    if (ownSuffix != 0)
        m_passBucket = bucketOf(names[j]);

    // Then the plan, in list order. Only entries bearing the starting name or the
    // entry's numbered name are affected, so only those are visited.
    constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();
    const auto nextLive = [this](std::int32_t bucket, std::int32_t after) {
        if (bucket == kNoBucket)
            return kNone;
        const std::span<const std::int32_t> entries = entriesOf(m_buckets[bucket]);
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
            number(name, suffixLength);
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
            fetchBearersAhead(names, startBucket, position, counter);
            std::size_t suffixLength = 0;
            leaveBucket(position);
            number(names[position], suffixLength);
            joinBucket(position, makeUnique(names[position], suffixLength));
        } else {
            number(names[j], ownSuffix);
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
