#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

namespace settings {

/// The lines of a settings file. The bytes are read as UTF-8 when they are valid UTF-8,
/// otherwise as the Japanese Windows code page (CP932), the encoding of files written
/// on Windows. A line ends at CR LF, and a bare LF is part of its line; only a file
/// without any CR LF has its lines end at LF. Text after the last line end is one more
/// line, unless `cutShort` says the bytes are only the start of a longer file. A file
/// damaged part-way gives the lines before the first one that is in neither encoding or
/// holds a NUL, in the encoding that reads the most lines; nothing when not even the
/// first line can be read.
std::optional<QStringList> decodeLines(std::string_view bytes, bool cutShort = false);

/// The lines, each followed by CR LF. CP932 when every line comes back unchanged from
/// it and the result cannot be taken for UTF-8 when read again; UTF-8 otherwise, so no
/// character is lost between a save and the next start.
std::string encodeLines(const QStringList& lines);

/// The text in CP932, or nothing when any of its characters does not survive the round
/// trip (characters outside the code page, and those it maps to a look-alike, such as
/// the wave dash U+301C that comes back as the full-width tilde U+FF5E).
std::optional<std::string> toCp932(const QString& text);

} // namespace settings
