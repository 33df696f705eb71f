#pragma once

#include <QString>
#include <QStringList>

#include <string>

/// The settings file opened for a rewrite. Lines are gathered as they are written and
/// stored by close(), which replaces the whole previous contents in one step; nothing
/// is ever appended. Until close() the file on disk is untouched.
class SettingsWriter {
public:
    explicit SettingsWriter(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }
    const QStringList& lines() const { return m_lines; }

    void writeLine(const QString& text) { m_lines.append(text); }

    /// Stores the lines written so far. 0, or the errno of the failed step; the
    /// previous file is then left as it was.
    int close() const;

    /// The message shown when close() failed with `error`: the file and the reason.
    std::string failureMessage(int error) const;

private:
    std::string m_path;
    QStringList m_lines;
};
