// The one way the tests read a file: whole, as its bytes are on the disk.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

// As a string, or as any container of bytes (std::vector<std::uint8_t>);
// empty when the file cannot be read.
template <typename Bytes = std::string>
Bytes readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
