#pragma once

#include "run/NameRules.h"
#include "toolkit/PathList.h"

#include <cstdint>
#include <functional>
#include <string>
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
    struct Bucket {
        std::vector<std::int32_t> entries; // ascending; may hold entries that have left
        std::int32_t live = 0;
    };

    std::int32_t bucketOf(const std::string& key);
    void leaveBucket(std::int32_t entry);
    void joinBucket(std::int32_t entry, std::int32_t bucket);
    std::int32_t othersBearing(std::int32_t bucket) const;
    bool pass(PathList& names, std::int32_t j);
    void renumber(std::string& name, std::size_t& suffixLength, std::int32_t counter) const;

    NameRules m_rules;
    std::function<bool()> m_keepGoing;
    std::unordered_map<std::string, std::int32_t> m_bucketByKey;
    std::vector<Bucket> m_buckets;
    std::vector<std::int32_t> m_bucketOfEntry;
    // The entry whose pass is running is kept out of the buckets; its bucket is here.
    std::int32_t m_passBucket = -1;
};

} // namespace run
