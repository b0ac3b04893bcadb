#include "recovery.h"

#include "application.h"
#include "picture_files.h"
#include "picture_names.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string copyPrefix = ".scribbo-recovery-";
const std::string notePrefix = ".scribbo-not-kept-";

// Folders made as needed, private to the user as the data directory is: 0, or why not.
int makeFolders(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error)
        return error.value();
    return std::filesystem::is_directory(path, error) ? 0 : ENOTDIR;
}

std::string withSlash(const std::string& folder) { return folder.empty() ? std::string() : folder + "/"; }

// Numbered like the names of the session's end: 0, or why not.
int keepAsUnsaved(const std::string& folder, const std::vector<std::uint8_t>& file, const std::tm& localTime)
{
    int result = EEXIST;
    for (int attempt = 1; attempt <= 1000 && result == EEXIST; ++attempt)
        result = keepInNewFile(withSlash(folder) + unsavedPictureName(localTime, attempt), file);
    return result;
}

std::string picturesFolderName()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string("the pictures folder") : "\"" + folder.string() + "\"";
}

std::string lostPictureNote(const std::tm& localTime, int picturesError, const std::string& data, int dataError)
{
    char when[64];
    std::strftime(when, sizeof when, "%Y-%m-%d at %H:%M:%S", &localTime);
    return "A picture that was not saved could not be kept when Scribbo ended on " + std::string(when) + ": "
        + picturesFolderName() + " could not take it (" + std::strerror(picturesError) + "), nor could \"" + data
        + "\" (" + std::strerror(dataError) + ").";
}

void leaveNote(const std::string& note, const std::string& data)
{
    const std::vector<std::uint8_t> text(note.begin(), note.end());
    const std::string name =
        notePrefix + std::to_string(::getpid()) + "-" + std::to_string(std::time(nullptr)) + ".txt";
    // A few bytes may still fit where the picture did not.
    if (keepInNewFile(withSlash(data) + name, text) != 0)
        keepInNewFile(name, text);
}

int openFile(const std::string& name, int flags, mode_t mode = 0)
{
    int file;
    do
        file = ::open(name.c_str(), flags | O_CLOEXEC, mode);
    while (file < 0 && errno == EINTR);
    return file;
}

// Whether the open file still has the name: a lock file removed under the
// one who locked it protects nothing.
bool stillNamed(int file, const std::string& name)
{
    struct stat open, named;
    return ::fstat(file, &open) == 0 && ::stat(name.c_str(), &named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
}

// The lock file of the name, held: the descriptor, or -1 with errno set.
int holdLock(const std::string& name)
{
    for (;;) {
        const int file = openFile(name, O_RDWR | O_CREAT, 0666);
        if (file < 0)
            return -1;
        int locked;
        do
            locked = ::flock(file, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        if (locked == 0 && stillNamed(file, name))
            return file;
        const int error = errno;
        ::close(file);
        if (locked != 0) {
            errno = error;
            return -1;
        }
    }
}

std::time_t modificationTime(const std::string& name)
{
    struct stat status;
    return ::stat(name.c_str(), &status) == 0 ? status.st_mtime : std::time(nullptr);
}

// Moves the file into the pictures folder as an "Unsaved picture" of the
// time it was written; whether it is there now.
bool moveToPicturesFolder(const std::string& name)
{
    std::vector<std::uint8_t> bytes;
    if (!readFile(name, bytes))
        return false;
    const std::time_t written = modificationTime(name);
    std::tm localTime{};
    localtime_r(&written, &localTime);
    return keepAsUnsaved("", bytes, localTime) == 0;
}

std::vector<std::string> namesIn(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix))
            names.push_back(name);
    }
    return names;
}

// A copy is taken only from a program that is gone: its lock is free.
void recoverCopiesIn(const std::string& folder)
{
    std::set<std::string> ids;
    for (const std::string& name : namesIn(folder, copyPrefix))
        ids.insert(name.substr(copyPrefix.size(), name.find('.', copyPrefix.size()) - copyPrefix.size()));
    for (const std::string& id : ids) {
        const std::string stem = withSlash(folder) + copyPrefix + id;
        const std::string lockName = stem + ".lock", copy = stem + ".bmp";
        const int lock = openFile(lockName, O_RDONLY | O_CREAT, 0666);
        if (lock < 0)
            continue;
        if (::flock(lock, LOCK_EX | LOCK_NB) == 0 && stillNamed(lock, lockName)
            && (!nameTaken(copy) || moveToPicturesFolder(copy))) {
            ::unlink(copy.c_str());
            ::unlink((copy + ".part").c_str());
            ::unlink(lockName.c_str());
        }
        ::close(lock);
    }
}

void collectNotesIn(const std::string& folder, std::vector<std::string>& notes)
{
    for (const std::string& name : namesIn(folder, notePrefix)) {
        std::vector<std::uint8_t> text;
        if (readFile(withSlash(folder) + name, text)) {
            notes.emplace_back(text.begin(), text.end());
            ::unlink((withSlash(folder) + name).c_str());
        }
    }
}

bool isPicturesFolder(const std::string& folder)
{
    std::error_code error;
    return std::filesystem::equivalent(".", folder, error);
}

std::string uniqueId()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return std::to_string(::getpid()) + "-" + std::to_string(now.tv_sec) + std::to_string(now.tv_nsec);
}

} // namespace

std::string dataFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') // relative ones are to be ignored
        return std::string(data) + "/scribbo";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : "/";
    }
    return std::string(home) + "/.local/share/scribbo";
}

bool keepUnsavedWork(const std::vector<std::uint8_t>& file, const std::tm& localTime)
{
    const int picturesError = keepAsUnsaved("", file, localTime);
    if (picturesError == 0)
        return true;
    const std::string data = dataFolder();
    int dataError = makeFolders(data);
    if (dataError == 0)
        dataError = keepAsUnsaved(data, file, localTime);
    if (dataError == 0)
        return true;
    const std::string note = lostPictureNote(localTime, picturesError, data, dataError);
    std::fprintf(stderr, "scribbo: %s\n", note.c_str());
    leaveNote(note, data);
    return false;
}

RecoveryCopy::RecoveryCopy() : id(uniqueId()), places{Place{""}, Place{dataFolder()}}, writer([this] { writeCopies(); })
{
}

RecoveryCopy::~RecoveryCopy() { end(true); }

void RecoveryCopy::keep(const TPicture& newPicture)
{
    const std::lock_guard guard(mutex);
    picture = newPicture;
    job = Job::Keep;
    changed.notify_all();
}

void RecoveryCopy::discard()
{
    const std::lock_guard guard(mutex);
    picture = TPicture();
    job = Job::Discard;
    changed.notify_all();
}

void RecoveryCopy::settle()
{
    std::unique_lock guard(mutex);
    changed.wait(guard, [this] { return stopping || (job == Job::None && !busy); });
}

void RecoveryCopy::end(bool workKept)
{
    {
        const std::lock_guard guard(mutex);
        stopping = true;
        changed.notify_all();
    }
    if (writer.joinable())
        writer.join();
    for (Place& place : places)
        removeAt(place, workKept);
}

void RecoveryCopy::writeCopies()
{
    std::unique_lock guard(mutex);
    for (;;) {
        changed.wait(guard, [this] { return stopping || job != Job::None; });
        if (stopping)
            return;
        const Job current = std::exchange(job, Job::None);
        const TPicture shown = std::exchange(picture, TPicture());
        busy = true;
        guard.unlock();
        if (current == Job::Keep)
            write(shown);
        else
            for (Place& place : places)
                removeAt(place, true);
        guard.lock();
        busy = false;
        changed.notify_all();
    }
}

void RecoveryCopy::write(const TPicture& shown)
{
    std::vector<std::uint8_t> file;
    try {
        file = encodeBitmap(toHalftone(shown));
    } catch (const std::bad_alloc&) {
        return; // the copy there is stays; the next one may fit
    }
    // One copy, the newest: wherever it goes, the one elsewhere goes.
    const int picturesError = writeAt(places[0], file);
    if (picturesError == 0) {
        removeAt(places[1], true);
        failureReported = false;
        return;
    }
    int dataError = makeFolders(places[1].folder);
    if (dataError == 0)
        dataError = writeAt(places[1], file);
    if (dataError == 0) {
        removeAt(places[0], true);
        failureReported = false;
        return;
    }
    if (!failureReported)
        std::fprintf(stderr, "scribbo: no recovery copy of the unsaved picture could be kept: %s (%s), \"%s\" (%s)\n",
                     picturesFolderName().c_str(), std::strerror(picturesError), places[1].folder.c_str(),
                     std::strerror(dataError));
    failureReported = true;
}

int RecoveryCopy::writeAt(Place& place, const std::vector<std::uint8_t>& file)
{
    if (place.lock < 0) {
        place.lock = holdLock(lockName(place));
        if (place.lock < 0)
            return errno;
    }
    const int error = replaceFile(copyName(place), file);
    if (error == 0)
        place.holdsCopy = true;
    return error;
}

// The copy first, then its lock: a copy is never there without its lock held.
void RecoveryCopy::removeAt(Place& place, bool withCopy)
{
    if (withCopy && place.holdsCopy) {
        ::unlink(copyName(place).c_str());
        place.holdsCopy = false;
    }
    if (place.lock >= 0) {
        ::unlink(lockName(place).c_str());
        ::close(place.lock);
        place.lock = -1;
    }
}

std::string RecoveryCopy::copyName(const Place& place) const
{
    return withSlash(place.folder) + copyPrefix + id + ".bmp";
}

std::string RecoveryCopy::lockName(const Place& place) const
{
    return withSlash(place.folder) + copyPrefix + id + ".lock";
}

void recoverEarlierWork(Dialogs& dialogs)
{
    const std::string data = dataFolder();
    std::vector<std::string> notes;
    // Two programs started at once take turns at the data folder.
    const int dataLock = openFile(data, O_RDONLY | O_DIRECTORY);
    if (dataLock >= 0)
        ::flock(dataLock, LOCK_EX);
    recoverCopiesIn(".");
    collectNotesIn(".", notes);
    if (dataLock >= 0 && !isPicturesFolder(data)) {
        recoverCopiesIn(data);
        for (const std::string& name : namesIn(data, "Unsaved picture "))
            if (moveToPicturesFolder(withSlash(data) + name))
                ::unlink((withSlash(data) + name).c_str());
        collectNotesIn(data, notes);
    }
    if (dataLock >= 0)
        ::close(dataLock);
    for (const std::string& note : notes)
        dialogs.messageBox(
            errorBox(QString::fromLocal8Bit(note), applicationTitle(QCoreApplication::applicationFilePath())));
}
