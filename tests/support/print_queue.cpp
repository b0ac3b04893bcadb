#include "print_queue.h"

#include "wait_until.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Guards against a scheduler or client that hangs; not a measure of speed.
constexpr auto readyGuard = std::chrono::seconds(30);
constexpr auto clientGuard = std::chrono::seconds(30);

const std::string pdfPrinterName = "PDF";
const std::string pdfPrinterDescription = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

// @ROOT@ stands for the scheduler's folder.
constexpr const char* schedulerSettings =
    R"(# Only the socket: nothing from the network, no printer shared or looked for.
Listen @ROOT@/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
LogLevel debug
MaxLogSize 0
# A failed job ends instead of stopping the printer for the next one.
ErrorPolicy abort-job
# The tests read what the client sent once the job has ended.
PreserveJobFiles Yes
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
)";

// Everything the backend writes stays in the folder too.
constexpr const char* backendSettings = R"(Out @ROOT@/pdf
AnonDirName @ROOT@/pdf
Spool @ROOT@/pdf-spool
Log @ROOT@/log
LogType 3
)";

constexpr const char* schedulerFiles = R"(ServerRoot @ROOT@/etc
ServerKeychain @ROOT@/etc/ssl
CreateSelfSignedCerts no
RequestRoot @ROOT@/spool
CacheDir @ROOT@/cache
StateDir @ROOT@/state
TempDir @ROOT@/tmp
Printcap @ROOT@/printcap
AccessLog @ROOT@/log/access_log
ErrorLog @ROOT@/log/error_log
PageLog @ROOT@/log/page_log
User lp
Group lp
SystemGroup root
)";

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path);
    file << text;
    if (!file.flush())
        throw std::runtime_error("cannot write " + path);
}

// Filters run as lp, and need a folder of their own to write in.
void makeSharedWithLp(const std::string& path, mode_t mode)
{
    const group* lp = getgrnam("lp");
    if (!lp)
        throw std::runtime_error("there is no group lp for the print filters to run in");
    if (chown(path.c_str(), 0, lp->gr_gid) != 0 || chmod(path.c_str(), mode) != 0)
        throw std::runtime_error("cannot hand " + path + " to lp: " + std::strerror(errno));
}

} // namespace

PrintQueue::PrintQueue(Printers printers) : directory("scribbo-print")
{
    if (geteuid() != 0)
        throw std::runtime_error("the print tests need root: the PDF printer's backend runs only under a scheduler "
                                 "running as root, and reads its settings only from /etc/cups (CI runs them as root)");
    // The scheduler and its filters drop to lp, which must reach every folder here.
    if (chmod(directory.path().c_str(), 0755) != 0)
        throw std::runtime_error("cannot open " + directory.path() + " to lp: " + std::strerror(errno));
    for (const char* folder : {"etc", "etc/ppd", "spool", "cache", "state", "log", "pdf", "pdf-spool"})
        std::filesystem::create_directory(directory.file(folder));
    // The scheduler sets these permissions itself only for a folder inside its spool.
    std::filesystem::create_directory(directory.file("tmp"));
    makeSharedWithLp(directory.file("tmp"), 01770);
    writeConfiguration();
    try {
        startScheduler();
        if (printers != Printers::None)
            addPdfPrinter(printers != Printers::PdfPrinterNotDefault);
        if (printers == Printers::DefaultPdfPrinterRefusingJobs)
            runAdministration({"cupsreject", pdfPrinterName});
    } catch (...) {
        end(); // no destructor runs for an object never made
        throw;
    }
}

PrintQueue::~PrintQueue() { end(); }

void PrintQueue::stopAnswering() { scheduler->signal(SIGSTOP); }

void PrintQueue::end()
{
    if (scheduler)
        scheduler->signal(SIGCONT); // a stopped one would not hear that it is to end
    scheduler.reset();              // ends it and the jobs it runs before their files go
    if (!backendConfiguration.empty())
        std::remove(backendConfiguration.c_str());
    backendConfiguration.clear();
}

std::vector<std::pair<std::string, std::string>> PrintQueue::environment() const
{
    return {{"CUPS_SERVER", directory.file("cups.sock")}, {"CUPS_SERVERROOT", directory.file("etc")}};
}

void PrintQueue::writeConfiguration() const
{
    writeFile(directory.file("cupsd.conf"), withRoot(schedulerSettings));
    writeFile(directory.file("cups-files.conf"), withRoot(schedulerFiles));
}

std::string PrintQueue::withRoot(std::string text) const
{
    const std::string placeholder = "@ROOT@";
    for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at))
        text.replace(at, placeholder.size(), directory.path());
    return text;
}

void PrintQueue::startScheduler()
{
    ChildOptions options;
    options.arguments = {"cupsd", "-f", "-c", directory.file("cupsd.conf"), "-s", directory.file("cups-files.conf")};
    options.logPath = directory.file("log/cupsd_output");
    scheduler = std::make_unique<ChildProcess>(options);
    const auto ready = [this] {
        return scheduler->hasExited() || runClient({"lpstat", "-r"}).output.starts_with("scheduler is running");
    };
    if (!waitUntil(ready, readyGuard, std::chrono::milliseconds(20)) || scheduler->hasExited()) {
        throw std::runtime_error("cupsd " + describeWaitStatus(scheduler->waitForExit(std::chrono::milliseconds(0)))
                                 + " instead of taking requests on " + directory.file("cups.sock") + ":\n" + log());
    }
}

void PrintQueue::addPdfPrinter(bool makeDefault)
{
    // The backend takes its settings from /etc/cups/cups-pdf-NAME.conf for
    // the device cups-pdf:/NAME, so a name of our own keeps other queues'
    // settings apart; the folder's name is unique while it exists.
    const std::string name = std::filesystem::path(directory.path()).filename().string();
    const std::string path = "/etc/cups/cups-pdf-" + name + ".conf";
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (file < 0)
        throw std::runtime_error("cannot make " + path + ": " + std::strerror(errno));
    close(file);
    backendConfiguration = path;
    writeFile(path, withRoot(backendSettings));

    runAdministration({"lpadmin", "-p", pdfPrinterName, "-E", "-v", "cups-pdf:/" + name, "-P", pdfPrinterDescription});
    if (makeDefault)
        runAdministration({"lpadmin", "-d", pdfPrinterName});
    printer = pdfPrinterName;
}

ProgramRun PrintQueue::runClient(const std::vector<std::string>& arguments) const
{
    ChildOptions options;
    options.arguments = arguments;
    options.environment = environment();
    options.logPath = directory.file("client_output");
    return runToEnd(options, clientGuard);
}

void PrintQueue::runAdministration(const std::vector<std::string>& arguments) const
{
    const ProgramRun result = runClient(arguments);
    if (!result.succeeded) {
        std::string command;
        for (const std::string& argument : arguments)
            command += argument + " ";
        throw std::runtime_error(command + "failed:\n" + result.output + "\n" + log());
    }
}

std::vector<PrintJob> PrintQueue::jobs(Jobs which) const
{
    const char* set = which == Jobs::All ? "all" : which == Jobs::Completed ? "completed" : "not-completed";
    const ProgramRun result = runClient({"lpstat", "-W", set, "-o"});
    if (!result.succeeded)
        throw std::runtime_error("lpstat could not list the jobs:\n" + result.output + "\n" + log());
    // "PDF-3   root   107520   Wed Dec  9 19:40:23 2026"
    static const std::regex jobLine(R"(\S+-(\d+)\s.*)");
    std::vector<PrintJob> listed;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        std::smatch match;
        if (!std::regex_match(line, match, jobLine))
            throw std::runtime_error("lpstat listed something other than a job: " + line);
        listed.push_back({std::stoi(match[1]), line});
    }
    return listed;
}

bool PrintQueue::waitUntilIdle(std::chrono::milliseconds guard) const
{
    return waitUntil([this] { return jobs(Jobs::NotCompleted).empty(); }, guard, std::chrono::milliseconds(20));
}

std::string PrintQueue::spooledDocument(int jobNumber) const
{
    char name[32];
    std::snprintf(name, sizeof name, "spool/d%05d-001", jobNumber);
    return directory.file(name);
}

std::string PrintQueue::log() const
{
    // The scheduler's own debugging is left out but for what it says about
    // jobs, which tells why a filter failed.
    std::string text = "cupsd's error log:\n";
    std::istringstream lines(readTextFile(directory.file("log/error_log")));
    for (std::string line; std::getline(lines, line);) {
        const bool aboutJob = line.find("] [Job ") != std::string::npos && line.find("] envp[") == std::string::npos
            && line.find("] argv[") == std::string::npos;
        if (!line.starts_with("D ") || aboutJob)
            text += line + "\n";
    }
    const std::string output = readTextFile(directory.file("log/cupsd_output"));
    if (!output.empty())
        text += "cupsd's output:\n" + output;
    const std::string backend = readTextFile(directory.file("log/cups-pdf-" + pdfPrinterName + "_log"));
    if (!backend.empty())
        text += "the PDF backend's log:\n" + backend;
    return text;
}
