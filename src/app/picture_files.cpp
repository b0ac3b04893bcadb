#include "picture_files.h"

#include "surface.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString absolutePath(const QString& path) { return QDir::cleanPath(QDir::current().absoluteFilePath(path)); }

[[noreturn]] void cannotCreate(const QString& path, int error)
{
    const QString message =
        QString("Cannot create file \"%1\". %2").arg(absolutePath(path), QString::fromLocal8Bit(std::strerror(error)));
    throw ScribboError(message.toLocal8Bit().toStdString());
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

bool isFolder(const QByteArray& name)
{
    struct stat status;
    return ::stat(name.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

bool fileExists(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    return ::lstat(name.constData(), &status) == 0 && !isFolder(name);
}

NewFileResult writeNewFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    int file;
    do
        file = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    while (file < 0 && errno == EINTR);
    if (file < 0) {
        const int error = errno;
        if (error == EEXIST && !isFolder(name))
            return NewFileResult::NameTaken;
        cannotCreate(path, error == EEXIST ? EISDIR : error);
    }
    // A write that stops short (a full disk, a size limit) or data that
    // never reaches the disk leaves no half picture under the child's name.
    const bool written = writeAll(file, bytes);
    if (!syncAndClose(file) || !written) {
        ::unlink(name.constData());
        throw ScribboError("Stream write error");
    }
    return NewFileResult::Written;
}
