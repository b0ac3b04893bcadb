#include "picture_files.h"

#include "picture_names.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isFolder(const char* name)
{
    struct stat status;
    return ::stat(name, &status) == 0 && S_ISDIR(status.st_mode);
}

bool writeAll(int file, const std::vector<std::uint8_t>& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(file, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += std::size_t(count);
    }
    return true;
}

bool syncAndClose(int file)
{
    bool synced = ::fsync(file) == 0;
    // Linux closes the descriptor even when close reports an error.
    synced = ::close(file) == 0 && synced;
    return synced;
}

// The new name itself reaches the disk with its folder; where the file
// system cannot sync a folder the file's own sync has to do.
void syncFolderOf(const char* name)
{
    const char* slash = std::strrchr(name, '/');
    const std::string folder = slash ? std::string(name, std::size_t(slash - name + 1)) : std::string(".");
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

enum class Outcome { Written, Exists, CannotCreate, WriteFailed };

struct Attempt {
    Outcome outcome;
    int error = 0; // why it could not be created
};

Attempt createAndWrite(const char* name, const std::vector<std::uint8_t>& bytes)
{
    int file;
    do
        file = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    while (file < 0 && errno == EINTR);
    if (file < 0)
        return {errno == EEXIST ? Outcome::Exists : Outcome::CannotCreate, errno};
    // A write that stops short (a full disk, a size limit) or data that
    // never reaches the disk leaves no half picture under the child's name.
    const bool written = writeAll(file, bytes);
    if (!syncAndClose(file) || !written) {
        ::unlink(name);
        return {Outcome::WriteFailed};
    }
    syncFolderOf(name);
    return {Outcome::Written};
}

QString absolutePath(const QString& path) { return QDir::cleanPath(QDir::current().absoluteFilePath(path)); }

[[noreturn]] void fail(const QString& message) { throw ScribboError(message.toLocal8Bit().toStdString()); }

// The whole file; a file that shrinks while it is read gives what was there.
std::vector<std::uint8_t> readWholeFile(const QString& path)
{
    // Not blocking: a pipe of the name must not hang the program.
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        const int error = errno;
        fail(QString("Cannot open file \"%1\". %2")
                 .arg(absolutePath(path), QString::fromLocal8Bit(std::strerror(error))));
    }
    struct stat status;
    const bool plain = ::fstat(file, &status) == 0 && S_ISREG(status.st_mode);
    if (!plain || status.st_size > largestPictureFile) {
        ::close(file);
        fail("Bitmap image is not valid");
    }
    std::vector<std::uint8_t> bytes(std::size_t(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::read(file, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            ::close(file);
            fail("Stream read error");
        }
        if (count == 0)
            break;
        done += std::size_t(count);
    }
    ::close(file);
    bytes.resize(done);
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

NewFileResult writeNewFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    Attempt attempt = createAndWrite(name.constData(), bytes);
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

KeepResult keepInNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    switch (createAndWrite(path.c_str(), bytes).outcome) {
    case Outcome::Written:
        return KeepResult::Kept;
    case Outcome::Exists:
        return KeepResult::NameTaken;
    case Outcome::CannotCreate:
    case Outcome::WriteFailed:
        break;
    }
    return KeepResult::Failed;
}
