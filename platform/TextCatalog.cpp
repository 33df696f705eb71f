#include "platform/TextCatalog.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<const TextCatalog*> g_catalog{nullptr};

} // namespace

void installTextCatalog(const TextCatalog* catalog) { g_catalog.store(catalog, std::memory_order_release); }

std::string translate(const char* context, const char* source, const char* disambiguation, int count)
{
    if (const TextCatalog* catalog = g_catalog.load(std::memory_order_acquire)) {
        std::string text = catalog->lookUp(context, source, disambiguation, count);
        if (!text.empty())
            return text;
    }
    return source;
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 1 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[at + 1] - '1');
            if (index < arguments.size()) {
                result += arguments.begin()[index];
                ++at;
                continue;
            }
        }
        result += text[at];
    }
    return result;
}

} // namespace platform
