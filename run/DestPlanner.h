#pragma once

#include "run/NameRules.h"
#include "toolkit/PathList.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace run {

/// When a plan is made in parts, and how large they are.
struct PlanPartitioning {
    std::size_t wholeUpTo = std::size_t{1} << 17; // a larger plan is made in parts
    std::size_t entriesPerPart = std::size_t{1} << 13; // on average
};

/// Makes the destination names of a plan unique, on disk and among themselves, by
/// numbering names ("photo_001.jpg"). Entry by entry, in list order, each entry's name
/// is first numbered until nothing on disk bears it; then every other entry that bears
/// the entry's starting name is numbered from the same counter, and the entry itself is
/// numbered again when another entry bears its numbered name; any name thus given is
/// numbered further while another entry still bears it.
///
/// Entries are indexed by name, so each step looks only at the entries bearing the
/// names it is about, and a plan of n names takes about n steps, not n squared.
///
/// Numbering only appends "_001" to "_999" to a stem, or swaps such a suffix for
/// another, so names whose keys differ in more than such suffixes never meet. A large
/// plan is therefore made in parts, each a set of such families small enough for the
/// processor's caches, and each in list order. Should a counter pass 999 or a stem be
/// shortened to fit, names may meet across parts: the plan is then made again whole.
/// This holds for keys that keep ASCII digits, "_", "." and "/" as they are and make the
/// rest character by character, as case folding does.
class DestPlanner {
public:
    /// `keepGoing` is called between steps; when it returns false the plan stops at
    /// once, partly done.
    DestPlanner(NameRules rules, std::function<bool()> keepGoing, PlanPartitioning partitioning = {});

    /// Numbers the names of `names[0]` to `names[lastIndex]` in place. False when it
    /// was stopped.
    bool plan(PathList& names, std::int32_t lastIndex);

private:
    // The entries bearing one name, ascending; may still list entries that have left.
    // Most names are borne by one entry, which is kept without a heap allocation. The
    // name's key lies in m_keyBytes: a plan of a million names makes a million keys, and
    // one block of bytes costs a fraction of a string and a map node each.
    // A bucket takes 16 bytes: a key is shorter than a path can be, and the entries are
    // one entry or, once two bear the name at once, a list in m_manyLists for good.
    struct Bucket {
        std::uint64_t keyOffset : 40 = 0;
        std::uint64_t keyLength : 24 = 0; // the top bit marks a key kept whole
        std::int32_t live = 0;
        std::int32_t entries = -1; // the one entry (>= 0), none (-1), or -2 - list
    };

    // A slot of the open-addressing table: a bucket, or none, with its key's hash so
    // that most mismatches are seen without reading the bucket.
    struct Slot {
        std::int32_t bucket = -1;
        std::uint32_t hash = 0;
    };

    // A key as the index keeps it: without the prefix the plan's names share.
    struct StoredKey {
        std::string_view bytes;
        bool outside; // the key does not start with the shared prefix, so is kept whole
        std::uint32_t hash;
    };

    bool planWhole(PathList& names, std::int32_t count);
    std::optional<bool> planInParts(PathList& names, std::int32_t count);
    std::uint64_t familyHash(const std::string& name);
    std::span<const std::int32_t> entriesOf(const Bucket& bucket) const;
    StoredKey storedKey(std::string_view key) const;
    std::string_view keyOf(const std::string& name);
    std::int32_t findBucket(const std::string& name);
    std::int32_t findKey(const StoredKey& key, std::size_t& slot) const;
    std::int32_t bucketOf(const std::string& name);
    std::int32_t addBucket(std::string_view key);
    std::int32_t addBucket(const StoredKey& key, std::size_t slot);
    void growSlots();
    void leaveBucket(std::int32_t entry);
    void joinBucket(std::int32_t entry, std::int32_t bucket);
    std::int32_t othersBearing(std::int32_t bucket) const;
    void fetchAhead(const PathList& names, std::int32_t entry) const;
    void fetchBearersAhead(const PathList& names, std::int32_t bucket, std::int32_t position, std::int32_t counter);
    bool pass(PathList& names, std::int32_t j);
    bool renumber(std::string& name, std::size_t& suffixLength, std::int32_t counter) const;

    NameRules m_rules;
    std::function<bool()> m_keepGoing;
    PlanPartitioning m_partitioning;
    // Set when a name was numbered in a way that may take it out of its family.
    bool m_leftFamily = false;
    std::string m_keyScratch;
    std::string m_guess; // the numbered name a bearer ahead is likely to get
    std::string m_keyPrefix;
    std::vector<char> m_keyBytes;
    std::vector<Slot> m_slots; // open addressing, linear probing, a power of two long
    std::vector<Bucket> m_buckets;
    std::vector<std::vector<std::int32_t>> m_manyLists;
    std::vector<std::int32_t> m_bucketOfEntry;
    // The entry whose pass is running is kept out of the buckets; its bucket is here.
    std::int32_t m_passBucket = -1;
};

} // namespace run
