#include "settings/SettingsCodec.h"

#include <QByteArray>
#include <QStringDecoder>

#include <algorithm>
#include <vector>
#include <cerrno>
#include <iconv.h>

namespace settings {

namespace {

constexpr const char* kWindowsJapanese = "CP932";

// Converts the whole text with a converter of its own, so no state carries over from
// one text to the next. Nothing when a byte sequence or character cannot be converted.
std::optional<std::string> convert(const char* from, const char* to, std::string_view input)
{
    const iconv_t converter = ::iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string output(input.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t done = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* out = output.data() + done;
        std::size_t outLeft = output.size() - done;
        const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
        done = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        ok = false; // EILSEQ or a truncated sequence at the end (EINVAL)
        break;
    }
    ::iconv_close(converter);
    if (!ok)
        return std::nullopt;
    output.resize(done);
    return output;
}

// `keepInitialBom` false drops one byte-order mark at the start, as at a file's start.
// Stateless: a sequence cut off at the end is an error, not state kept for more bytes,
// so a CP932 line that ends in the first byte of a UTF-8 sequence is not read as UTF-8.
std::optional<QString> fromValidUtf8(std::string_view bytes, bool keepInitialBom = false)
{
    const QStringDecoder::Flags flags = QStringDecoder::Flag::Stateless
        | (keepInitialBom ? QStringDecoder::Flag::ConvertInitialBom : QStringDecoder::Flag::Default);
    QStringDecoder decoder(QStringDecoder::Utf8, flags);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> fromCp932(std::string_view bytes)
{
    const std::optional<std::string> utf8 = convert(kWindowsJapanese, "UTF-8", bytes);
    return utf8 ? std::optional<QString>(QString::fromStdString(*utf8)) : std::nullopt;
}

// The lines of the file as bytes. The program ends each line with CR LF, and a folder
// name may itself hold an LF (a dropped or picked folder): in a file that holds a CR LF,
// only CR LF ends a line. A file without any, made by hand, has its lines end at LF.
// Neither byte is part of any CP932 character.
// `cutShort`: the bytes are only the start of the file, so text after their last line
// end is part of a line, not one, and is left out.
std::vector<std::string_view> byteLines(std::string_view bytes, bool cutShort)
{
    const std::string_view end = bytes.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t at = bytes.find(end);
        if (at == std::string_view::npos) {
            if (!cutShort)
                lines.push_back(bytes);
            break;
        }
        lines.push_back(bytes.substr(0, at));
        bytes.remove_prefix(at + end.size());
    }
    return lines;
}

// The lines decoded one by one until the first that fails; a NUL fails a line too,
// since no text box could show the same text the run would use.
QStringList decodeUntilFailure(const std::vector<std::string_view>& lines, bool asUtf8)
{
    QStringList decoded;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find('\0') != std::string_view::npos)
            break;
        const std::optional<QString> line = asUtf8 ? fromValidUtf8(lines[i], i > 0) : fromCp932(lines[i]);
        if (!line)
            break;
        decoded.append(*line);
    }
    return decoded;
}

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

std::optional<QStringList> decodeLines(std::string_view bytes, bool cutShort)
{
    // A damaged line ends the reading there; the lines before it still count. They are
    // UTF-8 when they hold anything beyond ASCII that reads as UTF-8 (CP932 text almost
    // never does), else CP932, which then may read further.
    const std::vector<std::string_view> lines = byteLines(bytes, cutShort);
    QStringList utf8 = decodeUntilFailure(lines, true);
    const auto utf8Read = static_cast<std::size_t>(utf8.size());
    const bool beyondAscii = std::any_of(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(utf8Read),
                                         [](std::string_view line) { return !isAscii(line); });
    QStringList decoded = utf8Read == lines.size() || beyondAscii ? std::move(utf8)
                                                                  : decodeUntilFailure(lines, false);
    if (decoded.isEmpty() && !lines.empty())
        return std::nullopt;
    return decoded;
}

std::optional<std::string> toCp932(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    std::optional<std::string> encoded =
        convert("UTF-8", kWindowsJapanese, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (!encoded)
        return std::nullopt;
    const std::optional<std::string> back = convert(kWindowsJapanese, "UTF-8", *encoded);
    if (!back || QString::fromStdString(*back) != text)
        return std::nullopt;
    return encoded;
}

std::string encodeLines(const QStringList& lines)
{
    std::string cp932;
    bool fitsCp932 = true;
    for (const QString& line : lines) {
        const std::optional<std::string> encoded = toCp932(line);
        if (!encoded) {
            fitsCp932 = false;
            break;
        }
        cp932 += *encoded;
        cp932 += "\r\n";
    }
    // Some runs of half-width katakana in CP932 are also valid UTF-8 ("ﾃｽ" is the
    // UTF-8 of "ý"); such a file would come back as other characters.
    if (fitsCp932 && (isAscii(cp932) || !fromValidUtf8(cp932)))
        return cp932;

    std::string utf8;
    // The reader drops one byte-order mark at the start, so a first line that itself
    // begins with U+FEFF is protected by one more.
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        utf8 = "\xEF\xBB\xBF";
    for (const QString& line : lines) {
        utf8 += line.toStdString();
        utf8 += "\r\n";
    }
    return utf8;
}

} // namespace settings
