// Picture files on the disk: reading one, the existence test of the save
// dialog, and writes that publish a file only once it is whole and on the
// disk, so that a name holds nothing or the whole file whatever happens.
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

// Whether anything at all has that name, a folder or a broken link too.
bool nameTaken(const std::string& path);

enum class NewFileResult { Written, NameTaken };

// Writes the bytes to a file nobody sees, syncs it and only then gives it
// the name, never over anything of that name (also when something appeared
// since fileExists said no: that answers NameTaken). Throws ScribboError
// with "Cannot create file "<absolute path>". <the system's reason>" when it
// cannot be created, and "Stream write error" when writing it fails; the
// name is then left as it was.
NewFileResult writeNewFile(const QString& path, const std::vector<std::uint8_t>& bytes);

// The same write for the way out of the process and for the writer of the
// recovery copy: plain system calls, no exceptions, nothing of Qt. 0 when
// the file was written, EEXIST when anything of that name (a folder too)
// is there, else why it could not be written (an errno value).
int keepInNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Puts a whole new file in the place of the one of that name, if any, in
// one step: 0, or why not (an errno value). It is written as the name with
// ".part" appended, which a program that ended while writing it leaves.
int replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The whole file, for files of the program's own; false when it cannot be
// read.
bool readFile(const std::string& path, std::vector<std::uint8_t>& bytes);
