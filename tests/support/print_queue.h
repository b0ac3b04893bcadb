// A CUPS scheduler of our own in a fresh folder, with no printer or with a
// PDF printer whose device is a file there, for clients given its
// environment. It is run by whoever runs the tests, root or not, touches no
// system-wide printer settings, needs no desktop, and is ended with all its
// files when the object goes.
#pragma once

#include "child_process.h"
#include "temporary_directory.h"

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct PrintJob {
    int number = 0;
    // As lpstat lists it, for messages.
    std::string line;
};

class PrintQueue {
public:
    // A queue that refuses jobs is the default PDF printer after cupsreject.
    enum class Printers { None, DefaultPdfPrinter, PdfPrinterNotDefault, DefaultPdfPrinterRefusingJobs };
    enum class Jobs { All, Completed, NotCompleted };

    // Returns once the scheduler takes requests and the printer, if any,
    // accepts jobs. Throws std::runtime_error, with the scheduler's log,
    // when something fails.
    explicit PrintQueue(Printers printers = Printers::DefaultPdfPrinter);
    ~PrintQueue();

    PrintQueue(const PrintQueue&) = delete;
    PrintQueue& operator=(const PrintQueue&) = delete;

    // For every client of this scheduler, the program under test included
    // (Qt reaches the scheduler through libcups, which reads these).
    std::vector<std::pair<std::string, std::string>> environment() const;
    // Empty with Printers::None.
    const std::string& printerName() const { return printer; }

    // Throws std::runtime_error when the scheduler cannot be asked.
    std::vector<PrintJob> jobs(Jobs which) const;
    // True once no job is waiting or being printed; false if that did not
    // happen within the guard.
    bool waitUntilIdle(std::chrono::milliseconds guard) const;
    // The document of a job exactly as the client sent it, kept after the
    // job has ended.
    std::string spooledDocument(int jobNumber) const;
    // What the scheduler and the printer's backend logged, for failure messages.
    std::string log() const;
    // The scheduler stops (SIGSTOP) as a hung one would: clients connect
    // but get no answer. It goes on when the object goes.
    void stopAnswering();

private:
    void writeConfiguration() const;
    std::string withRoot(std::string text) const;
    void startScheduler();
    void addPdfPrinter(bool makeDefault);
    void end();
    ProgramRun runClient(const std::vector<std::string>& arguments) const;
    void runAdministration(const std::vector<std::string>& arguments) const;

    TemporaryDirectory directory;
    std::unique_ptr<ChildProcess> scheduler;
    std::string printer;
};
