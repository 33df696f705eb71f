#include "settings/SettingsCodec.h"

#include <QByteArray>
#include <QStringDecoder>

#include <algorithm>
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

std::optional<QString> fromValidUtf8(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

std::optional<QStringList> decodeLines(std::string_view bytes)
{
    std::optional<QString> text = fromValidUtf8(bytes);
    if (!text) {
        const std::optional<std::string> utf8 = convert(kWindowsJapanese, "UTF-8", bytes);
        if (!utf8)
            return std::nullopt;
        text = QString::fromStdString(*utf8);
    }
    QStringList lines = text->split(QLatin1Char('\n'));
    // The split leaves one empty piece after a final line end; it is no line.
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
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
