// Sets (or removes) environment variables for one test and puts the old
// values back afterwards, so tests run in one process do not leak settings.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScopedEnvironment {
public:
    ScopedEnvironment(const std::string& name, const std::optional<std::string>& value) { apply(name, value); }
    // As a child process takes them (XServer::environment()).
    explicit ScopedEnvironment(const std::vector<std::pair<std::string, std::string>>& settings)
    {
        for (const auto& [name, value] : settings)
            apply(name, value);
    }
    ~ScopedEnvironment()
    {
        for (auto old = oldValues.rbegin(); old != oldValues.rend(); ++old)
            set(old->first, old->second);
    }

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void apply(const std::string& name, const std::optional<std::string>& value)
    {
        const char* old = std::getenv(name.c_str());
        oldValues.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        set(name, value);
    }

    static void set(const std::string& name, const std::optional<std::string>& value)
    {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> oldValues;
};
