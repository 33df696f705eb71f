#include "platform/MemoryTuning.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

} // namespace

void preferLargeHeapPages()
{
    constexpr int kStep = 64 << 20;
    // Large blocks (a path list's array) stay on the heap instead of fresh mappings,
    // and freed memory is kept for the next search rather than handed back at once.
    mallopt(M_MMAP_THRESHOLD, kStep / 2);
    mallopt(M_TOP_PAD, kStep);
    mallopt(M_TRIM_THRESHOLD, 2 * kStep);
    // A freed small block merges with its free neighbours at once instead of waiting in a
    // list of its size: the million short names a plan frees then make room for the
    // longer paths that replace them, instead of the heap growing by the paths.
    mallopt(M_MXFAST, 0);
    growHeapOnLargePages(kStep / 4);
}

void growHeapOnLargePages(std::size_t bytes)
{
    // Pieces below the mapping threshold come from the heap's top, which grows by them
    // (and the pad); freed, they stay with the heap for the small blocks to come.
    constexpr std::size_t kPiece = 8 << 20;
    if (bytes < kPiece)
        return; // left to the heap's own pad
    auto* before = static_cast<char*>(sbrk(0));
    std::vector<void*> pieces;
    pieces.reserve(bytes / kPiece);
    for (std::size_t grown = kPiece; grown <= bytes; grown += kPiece) {
        void* piece = std::malloc(kPiece);
        if (!piece)
            break;
        // Keeps the compiler from dropping the allocation without touching its pages.
        asm volatile("" : : "r"(piece) : "memory");
        pieces.push_back(piece);
    }
    auto* after = static_cast<char*>(sbrk(0));
    for (void* piece : pieces)
        std::free(piece);
    if (before == reinterpret_cast<char*>(-1) || after <= before)
        return;
    adviseLargePages(before, static_cast<std::size_t>(after - before));
}

void adviseLargePages(const void* block, std::size_t bytes)
{
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const auto first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const auto last = (start + bytes) & ~(kHugePage - 1);
    // Only a hint: where the kernel has no large pages the block keeps small ones.
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void returnFreedMemory()
{
    malloc_trim(0);
}

} // namespace platform
