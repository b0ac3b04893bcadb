// Where a failing test keeps the files its report names (a screenshot, the
// actual picture and a diff): beside the test program, whatever folder the
// test works in, under the test's name with its case.
#pragma once

#include <cctype>
#include <filesystem>
#include <string>

// "Bitmap.Reads/3" gives "<the test program's folder>/Bitmap.Reads_3", to
// which the caller adds what the file is (".actual.ppm").
inline std::string artifactPath(std::string testName)
{
    for (char& character : testName)
        if (!std::isalnum(static_cast<unsigned char>(character)) && character != '.')
            character = '_';
    return (std::filesystem::canonical("/proc/self/exe").parent_path() / testName).string();
}
