#pragma once

#include <fuse_lowlevel.h>

/// Has the kernel let lookups and listings in one folder run side by side, as every
/// network file system does. libfuse 3.14 asks for it in `want` but leaves the bit out
/// of its answer to the kernel's INIT, so without this each folder looks up one name
/// at a time and a stand-in for a share would hide what parallel work gains there.
/// Wraps the session's reads and writes of /dev/fuse: the INIT request is noted, and
/// the bit added to its answer where the kernel offered it. Call after mounting.
bool allowParallelLookups(fuse_session* session);
