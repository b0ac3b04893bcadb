#include "picture_files.h"

#include "picture_names.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool isFolder(const char* name)
{
    struct stat status;
    return ::stat(name, &status) == 0 && S_ISDIR(status.st_mode);
}

int openFile(const char* name, int flags, mode_t mode = 0)
{
    int file;
    do
        file = ::open(name, flags | O_CLOEXEC, mode);
    while (file < 0 && errno == EINTR);
    return file;
}

// 0, or why not.
int writeAll(int file, const std::vector<std::uint8_t>& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(file, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        if (count == 0)
            return EIO;
        written += std::size_t(count);
    }
    return 0;
}

std::string folderOf(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

// The new name reaches the disk with its folder. Where the file system
// cannot sync a folder at all, the file's own sync has to do.
int syncFolder(const std::string& folder)
{
    const int descriptor = openFile(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0)
        return 0;
    const int error = ::fsync(descriptor) == 0 ? 0 : errno;
    ::close(descriptor);
    return error == EINVAL || error == EOPNOTSUPP || error == EROFS ? 0 : error;
}

// A file that nobody sees while it is written: unnamed where the file system
// allows it, else under a hidden name of this process beside the final one,
// which Load does not list and which goes again when the file is published
// or given up.
class UnpublishedFile {
public:
    // Without a temporary name it makes up one where it needs one.
    explicit UnpublishedFile(const std::string& name, std::string temporaryName = {})
        : folder(folderOf(name)), temporary(std::move(temporaryName))
    {
        if (temporary.empty()) {
            descriptor = openFile(folder.c_str(), O_TMPFILE | O_WRONLY, 0666);
            if (descriptor >= 0 || (errno != EOPNOTSUPP && errno != EISDIR)) {
                error = descriptor < 0 ? errno : 0;
                return;
            }
            static std::atomic<unsigned> serial{0};
            temporary = folder + "/.scribbo-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".part";
        }
        ::unlink(temporary.c_str()); // left by a program that ended while writing it
        descriptor = openFile(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        error = descriptor < 0 ? errno : 0;
    }
    ~UnpublishedFile()
    {
        if (descriptor >= 0)
            ::close(descriptor);
        if (!temporary.empty())
            ::unlink(temporary.c_str());
    }
    UnpublishedFile(const UnpublishedFile&) = delete;
    UnpublishedFile& operator=(const UnpublishedFile&) = delete;

    // Why it could not be made, or 0.
    int creationError() const { return error; }

    // The bytes, all of them on the disk: 0, or why not.
    int write(const std::vector<std::uint8_t>& bytes)
    {
        const int writeError = writeAll(descriptor, bytes);
        if (writeError)
            return writeError;
        return ::fsync(descriptor) == 0 ? 0 : errno;
    }

    // Gives the file its name, never over anything of that name: 0, EEXIST,
    // or why not.
    int publishAsNew(const std::string& name)
    {
        int result;
        if (temporary.empty()) {
            const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
            result = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        } else {
            result = ::link(temporary.c_str(), name.c_str());
            // File systems without hard links may still rename without replacing.
            if (result != 0 && (errno == EPERM || errno == EOPNOTSUPP))
                result = ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE);
        }
        return result == 0 ? 0 : errno;
    }

    // Puts the file in the place of whatever had the name: 0, or why not.
    int publishInPlaceOf(const std::string& name) { return ::rename(temporary.c_str(), name.c_str()) == 0 ? 0 : errno; }

    const std::string folder;

private:
    std::string temporary; // empty while the file has no name
    int descriptor = -1;
    int error = 0;
};

enum class Outcome { Written, Exists, CannotCreate, WriteFailed };

struct Attempt {
    Outcome outcome;
    int error = 0; // the system's reason
};

Attempt createAndWrite(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    UnpublishedFile file(name);
    if (file.creationError())
        return {Outcome::CannotCreate, file.creationError()};
    if (const int writeError = file.write(bytes))
        return {Outcome::WriteFailed, writeError};
    if (const int publishError = file.publishAsNew(name))
        return {publishError == EEXIST ? Outcome::Exists : Outcome::CannotCreate, publishError};
    // A name whose folder entry may not be on the disk is not kept: the
    // work must not count as saved.
    if (const int syncError = syncFolder(file.folder)) {
        ::unlink(name.c_str());
        return {Outcome::WriteFailed, syncError};
    }
    return {Outcome::Written};
}

QString absolutePath(const QString& path) { return QDir::cleanPath(QDir::current().absoluteFilePath(path)); }

[[noreturn]] void fail(const QString& message) { throw ScribboError(message.toLocal8Bit().toStdString()); }

// The whole of an open plain file, at most as large as any picture; a file
// that shrinks while it is read gives what was there. Closes it.
enum class Reading { Read, NotAPicture, Failed };

Reading readAndClose(int file, std::vector<std::uint8_t>& bytes)
{
    struct stat status;
    const bool plain = ::fstat(file, &status) == 0 && S_ISREG(status.st_mode);
    if (!plain || status.st_size > largestPictureFile) {
        ::close(file);
        return Reading::NotAPicture;
    }
    bytes.resize(std::size_t(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::read(file, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            ::close(file);
            return Reading::Failed;
        }
        if (count == 0)
            break;
        done += std::size_t(count);
    }
    ::close(file);
    bytes.resize(done);
    return Reading::Read;
}

// Not blocking: a pipe of the name must not hang the program.
int openToRead(const char* name) { return openFile(name, O_RDONLY | O_NONBLOCK); }

std::vector<std::uint8_t> readWholeFile(const QString& path)
{
    const int file = openToRead(QFile::encodeName(path).constData());
    if (file < 0) {
        const int error = errno;
        fail(QString("Cannot open file \"%1\". %2")
                 .arg(absolutePath(path), QString::fromLocal8Bit(std::strerror(error))));
    }
    std::vector<std::uint8_t> bytes;
    switch (readAndClose(file, bytes)) {
    case Reading::Read:
        break;
    case Reading::NotAPicture:
        fail("Bitmap image is not valid");
    case Reading::Failed:
        fail("Stream read error");
    }
    return bytes;
}

} // namespace

TPicture loadPictureFile(const QString& path)
{
    const QString extension = extensionOf(path);
    if (extension.compare(".bmp", Qt::CaseInsensitive) != 0)
        fail(QString("Unknown picture file extension (.%1)").arg(extension.mid(1)));
    const std::vector<std::uint8_t> bytes = readWholeFile(path);
    return decodeBitmap(bytes.data(), bytes.size());
}

bool fileExists(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    return ::lstat(name.constData(), &status) == 0 && !isFolder(name.constData());
}

bool nameTaken(const std::string& path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0;
}

NewFileResult writeNewFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    Attempt attempt = createAndWrite(name.toStdString(), bytes);
    if (attempt.outcome == Outcome::Exists && isFolder(name.constData()))
        attempt = {Outcome::CannotCreate, EISDIR}; // a folder counts as absent, and cannot be written
    switch (attempt.outcome) {
    case Outcome::Written:
        return NewFileResult::Written;
    case Outcome::Exists:
        return NewFileResult::NameTaken;
    case Outcome::CannotCreate:
        fail(QString("Cannot create file \"%1\". %2")
                 .arg(absolutePath(path), QString::fromLocal8Bit(std::strerror(attempt.error))));
    case Outcome::WriteFailed:
        break;
    }
    throw ScribboError("Stream write error");
}

int keepInNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const Attempt attempt = createAndWrite(path, bytes);
    if (attempt.outcome == Outcome::Written)
        return 0;
    return attempt.outcome == Outcome::Exists ? EEXIST : attempt.error;
}

int replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    UnpublishedFile file(path, path + ".part");
    if (file.creationError())
        return file.creationError();
    if (const int writeError = file.write(bytes))
        return writeError;
    if (const int renameError = file.publishInPlaceOf(path))
        return renameError;
    return syncFolder(file.folder);
}

bool readFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    const int file = openToRead(path.c_str());
    return file >= 0 && readAndClose(file, bytes) == Reading::Read;
}
