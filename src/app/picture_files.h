// Picture files on the disk: reading one, the existence test of the save
// dialog, and a write that never replaces a file and never leaves half a
// file behind.
#pragma once

#include "surface.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Files this large are refused unread: no bitmap the reader accepts needs more.
inline constexpr std::int64_t largestPictureFile = std::int64_t(257) << 20;

// The picture in the file. Throws ScribboError with "Unknown picture file
// extension (.<extension>)" unless the name ends in ".bmp" in any case,
// "Cannot open file "<absolute path>". <the system's reason>", "Stream read
// error" when reading fails, and the reader's own errors; "Bitmap image is
// not valid" also for what is not a plain file or is larger than any
// picture the reader accepts.
TPicture loadPictureFile(const QString& path);

// Whether the path names something that is not a folder: a file, a link,
// anything a new file would have to replace. A folder of the name counts
// as absent, so saving there fails at the creation.
bool fileExists(const QString& path);

enum class NewFileResult { Written, NameTaken };

// Creates the file, only if nothing of that name is there yet (also when
// something appeared since fileExists said no: that answers NameTaken), and
// writes the bytes through to the disk. Throws ScribboError with
// "Cannot create file "<absolute path>". <the system's reason>" when it
// cannot be created, and "Stream write error" when writing it fails; the
// file is removed again in that case.
NewFileResult writeNewFile(const QString& path, const std::vector<std::uint8_t>& bytes);

enum class KeepResult { Kept, NameTaken, Failed };

// The same write for the way out of the process: plain system calls, no
// exceptions, nothing of Qt, so that it also works from an exit handler.
// Anything of that name, a folder too, counts as taken.
KeepResult keepInNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
