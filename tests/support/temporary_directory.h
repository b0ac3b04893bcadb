// A fresh directory under the system's temporary folder, removed with all it
// holds when the object goes.
#pragma once

#include <string>

class TemporaryDirectory {
public:
    // Throws std::runtime_error when the directory cannot be made.
    explicit TemporaryDirectory(const std::string& prefix);
    ~TemporaryDirectory();

    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& path() const { return directoryPath; }
    std::string file(const std::string& name) const { return directoryPath + "/" + name; }

private:
    std::string directoryPath;
};
