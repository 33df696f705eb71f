#pragma once

#include <cstdlib>
#include <optional>
#include <string>

/// Keeps the trash of the home file system inside a test's own tree: points
/// XDG_DATA_HOME at `dataHome` for the object's lifetime.
class HomeTrash {
public:
    explicit HomeTrash(const std::string& dataHome) : m_path(dataHome + "/Trash")
    {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_old = old;
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    }
    ~HomeTrash()
    {
        if (m_old)
            ::setenv("XDG_DATA_HOME", m_old->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    HomeTrash(const HomeTrash&) = delete;
    HomeTrash& operator=(const HomeTrash&) = delete;

    std::string files() const { return m_path + "/files"; }
    std::string info() const { return m_path + "/info"; }

private:
    std::optional<std::string> m_old;
    std::string m_path;
};
