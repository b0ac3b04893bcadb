#include "print_queue.h"

#include "read_file.h"
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

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Guards against a scheduler or client that hangs; not a measure of speed.
constexpr auto readyGuard = std::chrono::seconds(30);
constexpr auto clientGuard = std::chrono::seconds(30);

const std::string pdfPrinterName = "PDF";
const std::string pdfPrinterDescription = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
// Where Debian puts them, which need not be on a user's PATH.
const std::string schedulerProgram = "/usr/sbin/cupsd";
const std::string administrationProgram = "/usr/sbin/lpadmin";

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
# The printer's device may be a file, which needs no backend.
FileDevice Yes
)";

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path);
    file << text;
    if (!file.flush())
        throw std::runtime_error("cannot write " + path);
}

// Who the filters run as, and who may change the printers. The scheduler
// will not run filters as root, so when started by root it drops to lp for
// them; anyone else's scheduler runs everything as them.
std::string accountSettings()
{
    if (geteuid() == 0)
        return "User lp\nGroup lp\nSystemGroup root\n";
    const group* own = getgrgid(getegid());
    if (!own)
        throw std::runtime_error("this user's group has no name for the scheduler to take");
    return std::string("SystemGroup ") + own->gr_name + "\n";
}

// Filters run as lp under root's scheduler, and need a folder of their own to write in.
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
    for (const char* folder : {"etc", "etc/ppd", "spool", "cache", "state", "log", "tmp"})
        std::filesystem::create_directory(directory.file(folder));
    if (geteuid() == 0) {
        // Root's scheduler and its filters drop to lp, which must reach every
        // folder here; the scheduler sets these permissions itself only for a
        // folder inside its spool.
        if (chmod(directory.path().c_str(), 0755) != 0)
            throw std::runtime_error("cannot open " + directory.path() + " to lp: " + std::strerror(errno));
        makeSharedWithLp(directory.file("tmp"), 01770);
    }
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
}

std::vector<std::pair<std::string, std::string>> PrintQueue::environment() const
{
    return {{"CUPS_SERVER", directory.file("cups.sock")}, {"CUPS_SERVERROOT", directory.file("etc")}};
}

void PrintQueue::writeConfiguration() const
{
    writeFile(directory.file("cupsd.conf"), withRoot(schedulerSettings));
    writeFile(directory.file("cups-files.conf"), withRoot(schedulerFiles) + accountSettings());
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
    options.arguments = {
        schedulerProgram, "-f", "-c", directory.file("cupsd.conf"), "-s", directory.file("cups-files.conf")};
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
    // The PDF printer's description, so that Qt sees its page and margins;
    // what the filters make of a job goes to a file no test reads, as the
    // tests read the document Scribbo handed over.
    runAdministration({administrationProgram, "-p", pdfPrinterName, "-E", "-v", "file://" + directory.file("printed"),
                       "-P", pdfPrinterDescription});
    if (makeDefault)
        runAdministration({administrationProgram, "-d", pdfPrinterName});
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
    std::istringstream lines(readFile(directory.file("log/error_log")));
    for (std::string line; std::getline(lines, line);) {
        const bool aboutJob = line.find("] [Job ") != std::string::npos && line.find("] envp[") == std::string::npos
            && line.find("] argv[") == std::string::npos;
        if (!line.starts_with("D ") || aboutJob)
            text += line + "\n";
    }
    const std::string output = readFile(directory.file("log/cupsd_output"));
    if (!output.empty())
        text += "cupsd's output:\n" + output;
    return text;
}
