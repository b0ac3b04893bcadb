#include "temporary_directory.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <stdlib.h>

TemporaryDirectory::TemporaryDirectory(const std::string& prefix)
{
    const std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        throw std::runtime_error("cannot make a directory like " + pattern + ": " + std::strerror(errno));
    directoryPath = name.data();
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored; // nothing useful to do about a leftover in /tmp
    std::filesystem::remove_all(directoryPath, ignored);
}
