#pragma once

#include "run/NameRules.h"
#include "toolkit/PathList.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace run {

/// Makes the destination names of a plan unique, on disk and among themselves, by
/// numbering names ("photo_001.jpg"). Entry by entry, in list order, each entry's name
/// is first numbered until nothing on disk bears it; then every other entry that bears
/// the entry's starting name is numbered from the same counter, and the entry itself is
/// numbered again when another entry bears its numbered name; any name thus given is
/// numbered further while another entry still bears it.
///
/// Entries are indexed by name, so each step looks only at the entries bearing the
/// names it is about, and a plan of n names takes about n steps, not n squared.
class DestPlanner {
public:
    /// `keepGoing` is called between steps; when it returns false the plan stops at
    /// once, partly done.
    DestPlanner(NameRules rules, std::function<bool()> keepGoing);

    /// Numbers the names of `names[0]` to `names[lastIndex]` in place. False when it
    /// was stopped.
    bool plan(PathList& names, std::int32_t lastIndex);

private:
    // The entries bearing one name, ascending; may still list entries that have left.
    // Most names are borne by one entry, which is kept without a heap allocation.
    struct Bucket {
        std::int32_t live = 0;
        std::int32_t single = -1;
        std::vector<std::int32_t> many; // used once two entries bear the name at once

        std::span<const std::int32_t> entries() const
        {
            return many.empty() ? std::span<const std::int32_t>(&single, single < 0 ? 0 : 1)
                                : std::span<const std::int32_t>(many);
        }
    };

    // Hash lookups by string_view, without making a std::string for each question.
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };

    std::string_view keyOf(const std::string& name);
    std::int32_t findBucket(const std::string& name);
    std::int32_t bucketOf(const std::string& name);
    std::int32_t addBucket(std::string_view key);
    void leaveBucket(std::int32_t entry);
    void joinBucket(std::int32_t entry, std::int32_t bucket);
    std::int32_t othersBearing(std::int32_t bucket) const;
    bool pass(PathList& names, std::int32_t j);
    void renumber(std::string& name, std::size_t& suffixLength, std::int32_t counter) const;

    NameRules m_rules;
    std::function<bool()> m_keepGoing;
    std::unordered_map<std::string, std::int32_t, KeyHash, std::equal_to<>> m_bucketByKey;
    std::string m_keyScratch;
    std::vector<Bucket> m_buckets;
    std::vector<std::int32_t> m_bucketOfEntry;
    // The entry whose pass is running is kept out of the buckets; its bucket is here.
    std::int32_t m_passBucket = -1;
};

} // namespace run
