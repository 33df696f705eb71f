#pragma once

namespace platform {

/// Makes the heap grow in large steps that the kernel may back with 2 MiB pages. A
/// search result of 100,000 paths then costs a handful of page faults instead of
/// thousands, which on virtual machines is most of the search's time. Call once, early.
void preferLargeHeapPages();

} // namespace platform
