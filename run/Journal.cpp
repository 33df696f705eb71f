#include "run/Journal.h"

#include "platform/Folders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace run {

namespace {

constexpr const char* kMagic = "quorvane-journal";
constexpr const char* kSuffix = ".journal";
constexpr std::size_t kHeldPiece = 1 << 20;
const char* const kOperationWords[] = {"copy", "move", "delete", "trash"};

bool hasSuffix(const std::string& name)
{
    const std::string suffix = kSuffix;
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Journal names sort by the time they were made: the newest sorts last.
std::vector<std::string> journalNames(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* listing = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(listing)) {
            if (entry->d_name[0] != '.' && hasSuffix(entry->d_name))
                names.emplace_back(entry->d_name);
        }
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string newJournalName()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local {};
    ::localtime_r(&now.tv_sec, &local);
    char name[96];
    const std::size_t length = std::strftime(name, sizeof name, "%Y%m%d-%H%M%S", &local);
    std::snprintf(name + length, sizeof name - length, "-%09ld-%d%s", now.tv_nsec,
                  static_cast<int>(::getpid()), kSuffix);
    return name;
}

} // namespace

std::vector<const JournalEntry*> Journal::toUndo() const
{
    const bool anyDone = std::any_of(entries.begin(), entries.end(), [](const JournalEntry& entry) {
        return entry.kind == JournalEntry::Kind::Done;
    });
    const JournalEntry::Kind wanted = anyDone ? JournalEntry::Kind::Done : JournalEntry::Kind::Planned;
    std::unordered_set<std::string_view> moved;
    for (const JournalEntry& entry : entries)
        if (entry.kind == JournalEntry::Kind::Done)
            moved.insert(entry.source);
    std::vector<const JournalEntry*> chosen;
    for (const JournalEntry& entry : entries) {
        if (entry.kind == wanted || (entry.kind == JournalEntry::Kind::Copied && !moved.count(entry.source)))
            chosen.push_back(&entry);
    }
    return chosen;
}

std::string journalFolder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        return std::string(state) + "/quorvane/runs";
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.local/state/quorvane/runs";
    return {};
}

std::string escapePath(const std::string& path)
{
    std::string text;
    text.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == '%' || byte == 0x7f) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<std::string> unescapePath(const std::string& text)
{
    std::string path;
    path.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            path += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const std::string hex = text.substr(i + 1, 2);
        char* end = nullptr;
        const long byte = std::strtol(hex.c_str(), &end, 16);
        if (hex.size() != 2 || end != hex.c_str() + 2)
            return std::nullopt;
        path += static_cast<char>(byte);
        i += 2;
    }
    return path;
}

JournalWriter::~JournalWriter()
{
    close();
}

bool JournalWriter::open(const std::string& folder, Operation operation, bool isUndo, std::size_t keep)
{
    close();
    m_failed = true;
    // The journals name the user's files: their own folder is private.
    if (folder.empty() || !platform::createParentFolders(folder)
        || (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST))
        return false;
    m_path = folder + '/' + newJournalName();
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return false;
    m_failed = false;
    writeLine(std::string(kMagic) + " 1 " + kOperationWords[static_cast<int>(operation)] + ' '
              + (isUndo ? "undo" : "run") + ' ' + std::to_string(std::time(nullptr)));
    std::vector<std::string> names = journalNames(folder);
    for (std::size_t i = 0; i + keep < names.size(); ++i)
        ::unlink((folder + '/' + names[i]).c_str());
    return !m_failed;
}

void JournalWriter::write(const JournalEntry& entry)
{
    if (entry.kind == JournalEntry::Kind::Planned)
        writeLine("P " + escapePath(entry.source));
    else if (entry.kind == JournalEntry::Kind::Identical)
        writeLine("S " + escapePath(entry.source) + ' ' + escapePath(entry.dest));
    else
        writeLine((entry.kind == JournalEntry::Kind::Copied ? "C " : "D ") + std::to_string(entry.bytes) + ' ' + std::to_string(entry.mtimeNanoseconds) + ' '
                  + escapePath(entry.source) + ' ' + (entry.dest.empty() ? "-" : escapePath(entry.dest)) + ' '
                  + std::to_string(entry.changeNanoseconds) + ' ' + std::to_string(entry.inode) + ' '
                  + std::to_string(entry.sourceChangeNanoseconds) + ' ' + std::to_string(entry.sourceInode));
}

void JournalWriter::writeLine(const std::string& line)
{
    if (m_fd < 0 || m_failed)
        return;
    m_held += line;
    m_held += '\n';
    // Lines held back for many files are handed over a piece at a time, so that a run of
    // a million files never holds all of them.
    if (!m_holding || m_held.size() >= kHeldPiece)
        writeHeld();
}

void JournalWriter::release()
{
    m_holding = false;
    writeHeld();
}

void JournalWriter::writeHeld()
{
    // Whole lines in one write: after a crash in the middle of it, the file ends in
    // whole lines or in a line cut off, which the reader drops.
    if (!m_held.empty() && m_fd >= 0 && !m_failed
        && ::write(m_fd, m_held.data(), m_held.size()) != static_cast<ssize_t>(m_held.size()))
        m_failed = true;
    m_held.clear();
}

bool JournalWriter::close()
{
    release();
    bool good = !m_failed;
    if (m_fd >= 0) {
        good = ::fdatasync(m_fd) == 0 && good;
        ::close(m_fd);
        m_fd = -1;
    }
    m_failed = false;
    return good;
}

std::optional<Journal> readJournal(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);

    Journal journal;
    journal.path = path;
    std::size_t begin = 0;
    bool first = true;
    // Only whole lines: one without its newline was being written when the run died.
    for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        std::istringstream line(text.substr(begin, end - begin));
        std::string word;
        line >> word;
        if (first) {
            std::string version, operation, kind;
            line >> version >> operation >> kind >> journal.startedSeconds;
            const auto* found = std::find(std::begin(kOperationWords), std::end(kOperationWords), operation);
            if (word != kMagic || version != "1" || found == std::end(kOperationWords) || !line)
                return std::nullopt;
            journal.operation = static_cast<Operation>(found - std::begin(kOperationWords));
            journal.isUndo = kind == "undo";
            first = false;
            continue;
        }
        JournalEntry entry;
        std::string source, dest;
        if (word == "P") {
            entry.kind = JournalEntry::Kind::Planned;
            line >> source;
        } else if (word == "S") {
            // Left alone by the run, and so by its undo.
            entry.kind = JournalEntry::Kind::Identical;
            line >> source >> dest;
        } else if (word == "D" || word == "C") {
            entry.kind = word == "C" ? JournalEntry::Kind::Copied : JournalEntry::Kind::Done;
            line >> entry.bytes >> entry.mtimeNanoseconds >> source >> dest >> entry.changeNanoseconds >> entry.inode
                >> entry.sourceChangeNanoseconds >> entry.sourceInode;
        } else {
            continue;
        }
        auto sourcePath = unescapePath(source);
        auto destPath = dest == "-" ? std::optional<std::string>(std::string()) : unescapePath(dest);
        if (!line || !sourcePath || !destPath || sourcePath->empty())
            continue;
        entry.source = std::move(*sourcePath);
        entry.dest = std::move(*destPath);
        journal.entries.push_back(std::move(entry));
    }
    if (first)
        return std::nullopt;
    return journal;
}

std::string newestJournalPath(const std::string& folder)
{
    const std::vector<std::string> names = journalNames(folder);
    return names.empty() ? std::string() : folder + '/' + names.back();
}

} // namespace run
