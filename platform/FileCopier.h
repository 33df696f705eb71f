#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace platform {

class ProgressReport;

/// A regular file's copy as seen through its descriptors, for callers that record it
/// without looking the paths up again.
struct CopiedFile {
    struct stat sourceBefore; // before its content was read
    struct stat sourceAfter;  // once its content was copied
    struct stat copy;         // under its final name (placing it changed its change time)
};

/// A regular file's complete copy in an unnamed file on the destination's file system,
/// written ahead of its turn by FileCopier::prepareCopy. It has no name until
/// FileCopier::copyFile places it; dropped unplaced, it vanishes with its descriptors.
/// Where the file system has no unnamed files it is written under a hidden temporary
/// name instead, which is removed when the copy is dropped unplaced.
class PreparedCopy {
public:
    PreparedCopy() = default;
    PreparedCopy(PreparedCopy&& other) noexcept { *this = std::move(other); }
    PreparedCopy& operator=(PreparedCopy&& other) noexcept;
    ~PreparedCopy() { close(); }

    const std::string& source() const { return m_source; }
    /// Whether it holds a copy still to be placed.
    bool ready() const { return m_out >= 0 || !m_temporary.empty(); }
    /// The source's status as its content was read.
    const struct stat& sourceStatus() const { return m_status; }

private:
    friend class FileCopier;
    void close();

    std::string m_source;
    // The source, open only while its content is copied: a copy made ahead closes it
    // once written, with how it looked then (closing a file on a share waits on the
    // server).
    int m_in = -1;
    int m_out = -1;
    // The hidden name in m_folderFd, for a copy that could not be made unnamed. Such a
    // copy is closed as soon as it is written too, with how it looked then.
    std::string m_temporary;
    int m_folderFd = -1;
    struct stat m_sourceAfter {};
    struct stat m_copyStatus {};
    struct stat m_status {}; // the source's, as its content was read
};

/// Whether placing an entry under its final name may replace what is there.
enum class Placement { NeverReplace, Replace };

/// Renames `from` (in the folder `fromFd`) to `to` (in `toFd`). NeverReplace fails
/// with EEXIST when the name is taken, also on file systems that refuse the kernel's
/// no-replace flag. Returns 0 or an errno.
int moveName(int fromFd, const char* from, int toFd, const char* to, Placement placement);

/// Copies single files so that a copy appears under its final name only once it is
/// complete: the content goes into an unnamed file that is linked into place at the
/// end (or, where the file system has no unnamed files, a hidden temporary name that
/// is renamed). A failed or cancelled copy leaves nothing behind.
class FileCopier {
public:
    /// `report` receives the bytes copied and is asked about cancelling between blocks.
    explicit FileCopier(ProgressReport& report) : m_report(report) {}

    /// Write through a hidden temporary name even where unnamed files are offered.
    void setAvoidUnnamedFiles(bool avoid) { m_avoidUnnamedFiles = avoid; }
    /// Called before each block of content; a nonzero errno fails the copy with it.
    void setBeforeBlock(std::function<int()> hook) { m_beforeBlock = std::move(hook); }

    /// Copies the regular file `source` (links followed) to the path `destination`,
    /// keeping its modification time and permission bits. With `flush` the copy is on
    /// the disk before its name appears. Returns 0, an errno (ECANCELED when the user
    /// cancelled), or kNotRegularFile from OperationTexts.h.
    int copyFile(const std::string& source, const std::string& destination,
                 Placement placement, bool flush);
    /// The same, the destination being `name` in the folder open as `folderFd` (an
    /// O_PATH descriptor will do): the copy then never walks the folder's path again.
    /// `prepared` may hold the finished copy of `source`: it is then only linked into
    /// place. A name found taken keeps it for the next name; any other trouble in
    /// placing it drops it and copies the usual way.
    int copyFile(const std::string& source, int folderFd, const std::string& name,
                 Placement placement, bool flush, PreparedCopy* prepared = nullptr);

    /// Writes the copy of the regular file `source` into an unnamed file made in the
    /// folder open as `folderFd`, with the source's permission bits and times, for
    /// copyFile to place later. No progress is reported. Returns 0 or an errno;
    /// EOPNOTSUPP where the file system has no unnamed files, unless `hiddenNameAllowed`:
    /// the copy is then written under a hidden temporary name, in the folder `within`
    /// (relative to `folderFd`, on the same file system). `folderFd` must stay open as
    /// long as the copy lives.
    int prepareCopy(const std::string& source, int folderFd, PreparedCopy& copy,
                    bool hiddenNameAllowed = false, const std::string& within = ".");

    /// Copies the folder `source` (a link to one followed) with everything in it to
    /// `destination`: files as copyFile does, links as links, folders with their
    /// permission bits and times. The tree is built under a hidden temporary name and
    /// renamed into place once complete (with `flush`, once it is on the disk); a
    /// failed or cancelled copy removes all it made. Returns as copyFile does.
    int copyTree(const std::string& source, const std::string& destination,
                 Placement placement, bool flush);

    /// Makes at `destination` a symbolic link with the same target as the link
    /// `source`. Returns 0 or an errno.
    int copyLink(const std::string& source, const std::string& destination,
                 Placement placement);

    /// A hidden name in `folder` for something on its way into place, recognisable as
    /// this program's should a crash ever leave it behind; unique within the process.
    static std::string temporaryName(const std::string& folder);

    /// The last file copyFile placed, until the next copy starts; empty after a failure.
    const std::optional<CopiedFile>& lastCopied() const { return m_lastCopied; }

private:
    /// Where an entry is being placed: `folder` and `name` are paths relative to
    /// `folderFd`, which is AT_FDCWD for absolute paths.
    struct Spot {
        int folderFd;
        std::string folder;
        std::string name;
    };
    static Spot spotOf(const std::string& destination);
    int copyFileTo(const std::string& source, const Spot& spot, Placement placement, bool flush);
    /// Opens `source`, makes the file its copy goes into (its path in `temporary` when
    /// that is a hidden name, not an unnamed file) and writes the content, mode and times.
    /// With `unnamedOnly` a file system without unnamed files fails it instead.
    int writeCopy(const std::string& source, const Spot& spot, bool unnamedOnly,
                  PreparedCopy& copy, std::string& temporary);
    /// Links the prepared copy as `spot`; -1 when it had to be dropped first.
    int placePrepared(PreparedCopy& copy, const Spot& spot, Placement placement);
    void notePlaced(const PreparedCopy& copy);
    struct MadeFolder {
        std::string path;
        struct stat source;
    };
    int copyFolderContents(const std::string& source, const std::string& copy,
                           std::vector<MadeFolder>& made);
    int copyContent(int in, int out, std::uint64_t size);
    int copyByReading(int in, int out);
    int nextBlockError() const;
    int createUnderTemporaryName(const std::string& folder,
                                 const std::function<int(const char*)>& create,
                                 std::string& path);
    /// Makes the new entry under a hidden name with `create`, then renames it over
    /// `destination` in one step, so that the old entry stays whole until then.
    int replaceThroughTemporary(const Spot& spot, const std::function<int(const char*)>& create);
    int linkUnnamed(int fd, const Spot& spot, Placement placement);

    ProgressReport& m_report;
    std::function<int()> m_beforeBlock;
    bool m_avoidUnnamedFiles = false;
    bool m_cloneRefused = false;
    std::optional<CopiedFile> m_lastCopied;
};

} // namespace platform
