#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace run {

/// A path held in one block of exactly its length: a pointer in the record that holds
/// it, where a std::string takes 32 bytes. A run of a million files keeps two paths in
/// each of a million records. A path never holds a NUL byte, so the block ends in one
/// and the length is not stored.
class PathText {
public:
    PathText() = default;
    PathText(std::string_view text) { assign(text); }
    PathText(const PathText& other) { assign(other.view()); }
    PathText(PathText&&) noexcept = default;
    PathText& operator=(const PathText& other)
    {
        if (this != &other)
            assign(other.view());
        return *this;
    }
    PathText& operator=(PathText&&) noexcept = default;
    PathText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    bool empty() const { return !m_bytes; }
    const char* c_str() const { return m_bytes ? m_bytes.get() : ""; }
    std::string_view view() const { return c_str(); }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const { return view(); }
    std::size_t size() const { return view().size(); }

    friend bool operator==(const PathText& a, std::string_view b) { return a.view() == b; }

private:
    void assign(std::string_view text)
    {
        if (text.empty()) {
            m_bytes.reset();
            return;
        }
        m_bytes = std::make_unique_for_overwrite<char[]>(text.size() + 1);
        std::memcpy(m_bytes.get(), text.data(), text.size());
        m_bytes[text.size()] = '\0';
    }

    std::unique_ptr<char[]> m_bytes;
};

} // namespace run
