// Unsaved work outlives the program, however it ends. While it runs, a
// recovery copy of the picture is kept on the disk by a thread of its own;
// when the session ends under it, the picture goes to a new "Unsaved
// picture" file; and the next start turns the copies of programs that are
// gone into such files, so that a crash, a kill or a power cut loses at
// most the last moments of work.
#pragma once

#include "dialogs.h"
#include "surface.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Scribbo's folder in the user's data directory ($XDG_DATA_HOME/scribbo,
// else ~/.local/share/scribbo), for what the pictures folder cannot take.
std::string dataFolder();

// Keeps the bitmap file of unsaved work as a new "Unsaved picture <date>
// <time>.bmp" in the pictures folder (the current directory), else in the
// data folder; where neither can take it, says so on standard error and
// leaves a note that the next start shows. Whether it was kept. Plain C++,
// no Qt: an exit handler calls it.
bool keepUnsavedWork(const std::vector<std::uint8_t>& file, const std::tm& localTime);

// The recovery copy of this program's unsaved work: a hidden bitmap file in
// the pictures folder (else in the data folder), replaced whole each time,
// beside a lock file that this program holds while the copy is there, so
// that no other Scribbo takes it.
class RecoveryCopy {
public:
    RecoveryCopy();
    // As end(true).
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // The copy is to show this picture. Only copies it: the disk is the
    // writer thread's.
    void keep(const TPicture& picture);
    // The work was saved or given up: the copy goes.
    void discard();
    // Returns once everything asked for so far is done.
    void settle();
    // The program ends: the writer stops and the lock goes, and so does the
    // copy unless the work could not be kept otherwise; the next start then
    // finds it.
    void end(bool workKept);

private:
    struct Place {
        std::string folder;
        int lock = -1; // held while the copy may be there
        bool holdsCopy = false;
    };
    enum class Job { None, Keep, Discard };

    void writeCopies();
    void write(const TPicture& picture);
    int writeAt(Place& place, const std::vector<std::uint8_t>& file);
    void removeAt(Place& place, bool withCopy);
    std::string copyName(const Place& place) const;
    std::string lockName(const Place& place) const;

    const std::string id;         // this program's, in the names of its files
    std::array<Place, 2> places;  // the pictures folder, then the data folder
    bool failureReported = false; // writer thread only
    std::mutex mutex;             // guards what follows
    std::condition_variable changed;
    Job job = Job::None;
    TPicture picture; // for Job::Keep
    bool busy = false;
    bool stopping = false;
    std::thread writer; // last: it starts once everything else is there
};

// At start-up: the recovery copies of programs that are gone, and pictures
// kept in the data folder, become "Unsaved picture <date> <time>.bmp" files
// in the pictures folder, dated when they were written; the notes of
// pictures that could be kept nowhere are shown to the parent.
void recoverEarlierWork(Dialogs& dialogs);
