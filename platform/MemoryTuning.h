#pragma once

#include <cstddef>

namespace platform {

/// Makes the heap grow in large steps that the kernel may back with 2 MiB pages. A
/// search result of 100,000 paths then costs a handful of page faults instead of
/// thousands, which on virtual machines is most of the search's time. Call once, early.
void preferLargeHeapPages();

/// Grows the heap by about `bytes` (nothing below 8 MiB), kept for the small blocks to
/// come, on 2 MiB pages where the kernel has them: a plan that makes a million short
/// names then takes a few hundred page faults instead of thousands.
void growHeapOnLargePages(std::size_t bytes);

/// Hands the heap's free pages back to the system. The heap keeps what is freed for
/// reuse, so after a large working set is gone (a long plan's index) its pages would
/// still count against the process while the next large block comes from elsewhere.
void returnFreedMemory();

/// Asks for the whole 2 MiB pages inside a block to be backed by 2 MiB pages when they
/// are first written. A plan of a million names looks things up all over a hundred
/// megabytes; with small pages nearly every look first walks the page tables, which on a
/// virtual machine costs more than the look.
void adviseLargePages(const void* block, std::size_t bytes);

/// Reserves room for `count` elements, on large pages where the room is fresh.
template <class Vector>
void reserveOnLargePages(Vector& vector, std::size_t count)
{
    vector.reserve(count);
    adviseLargePages(vector.data(), vector.capacity() * sizeof(typename Vector::value_type));
}

} // namespace platform
