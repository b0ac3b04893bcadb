// Sets (or removes) an environment variable for one test and puts the old
// value back afterwards, so tests run in one process do not leak settings.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, std::optional<std::string> value) : m_name(std::move(name))
    {
        if (const char* old = std::getenv(m_name.c_str()))
            m_oldValue = old;
        apply(value);
    }
    ~ScopedEnvironment() { apply(m_oldValue); }

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void apply(const std::optional<std::string>& value)
    {
        if (value)
            setenv(m_name.c_str(), value->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

    std::string m_name;
    std::optional<std::string> m_oldValue;
};
