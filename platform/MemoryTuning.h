#pragma once

namespace platform {

/// Makes the heap grow in large steps that the kernel may back with 2 MiB pages. A
/// search result of 100,000 paths then costs a handful of page faults instead of
/// thousands, which on virtual machines is most of the search's time. Call once, early.
void preferLargeHeapPages();

/// Hands the heap's free pages back to the system. The heap keeps what is freed for
/// reuse, so after a large working set is gone (a long plan's index) its pages would
/// still count against the process while the next large block comes from elsewhere.
void returnFreedMemory();

} // namespace platform
