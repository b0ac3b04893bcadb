// Sets (or removes) an environment variable for one test and puts the old
// value back afterwards, so tests run in one process do not leak settings.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

class ScopedEnvironment {
public:
    ScopedEnvironment(std::string variableName, std::optional<std::string> value) : name(std::move(variableName))
    {
        if (const char* old = std::getenv(name.c_str()))
            oldValue = old;
        apply(value);
    }
    ~ScopedEnvironment() { apply(oldValue); }

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void apply(const std::optional<std::string>& value)
    {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }

    std::string name;
    std::optional<std::string> oldValue;
};
