#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Where the core's texts meet the user's language. Every text the user reads is written
// in the source as its Japanese original and looked up as it is shown; the program
// installs a catalog for the language of the locale as it starts. With none installed
// the original comes back unchanged, which is what tests and the Japanese and C locales
// see.

/// Marks a text in a table for the translation tools without looking it up: the table
/// keeps the original, and its user passes it to platform::translate with the same context.
#define PLATFORM_TEXT_NOOP(context, text) text

namespace platform {

/// A language's texts, keyed as Qt's translation files key them.
class TextCatalog {
public:
    virtual ~TextCatalog() = default;
    /// The translation of `source` in `context`, in the plural form for `count` when
    /// `count` is not negative; empty when the catalog has none.
    virtual std::string lookUp(
        const char* context, const char* source, const char* disambiguation, int count) const = 0;
};

/// Makes `catalog` the one every later lookup uses (nullptr: the originals again). Set
/// once at start-up before any thread reads texts; not owned.
void installTextCatalog(const TextCatalog* catalog);

/// The text the user reads for the original `source`. A non-negative `count` picks the
/// plural form: the number itself goes in through fillIn, as the text shows it.
std::string translate(
    const char* context, const char* source, const char* disambiguation = nullptr, int count = -1);

/// `text` with %1 to %9 replaced by the arguments in one pass, so that a translation may
/// place them in its own order and an argument holding "%2" is left as it is. A
/// placeholder without an argument, and any other "%", stay as they are.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> arguments);

} // namespace platform
