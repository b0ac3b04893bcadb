#include "printer_on_first_use.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

// Beside the program, in the build tree as where it is installed.
std::string modulePath()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (program.parent_path() / "scribbo-print.so").string();
}

} // namespace

PrinterOnFirstUse::PrinterOnFirstUse() = default;
// The module stays loaded: Qt Print Support, once used, cannot be unloaded.
PrinterOnFirstUse::~PrinterOnFirstUse() = default;

Printer& PrinterOnFirstUse::loaded()
{
    if (printer)
        return *printer;
    const std::string path = modulePath();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto make =
        module ? reinterpret_cast<decltype(&scribboMakePrinter)>(dlsym(module, "scribboMakePrinter")) : nullptr;
    if (!make) {
        const char* why = dlerror();
        std::fprintf(stderr, "scribbo: the print system cannot be loaded: %s\n", why ? why : path.c_str());
        throw std::runtime_error("Printer selected is not valid");
    }
    printer.reset(make());
    return *printer;
}

Printer::Resolution PrinterOnFirstUse::resolution() { return loaded().resolution(); }
void PrinterOnFirstUse::setLandscape() { loaded().setLandscape(); }
void PrinterOnFirstUse::beginDocument() { loaded().beginDocument(); }
int PrinterOnFirstUse::pageWidth() { return loaded().pageWidth(); }
int PrinterOnFirstUse::textWidth(const QString& text) { return loaded().textWidth(text); }
void PrinterOnFirstUse::textOut(int left, int top, const QString& text) { loaded().textOut(left, top, text); }
void PrinterOnFirstUse::endDocument() { loaded().endDocument(); }

void PrinterOnFirstUse::stretchBitmap(const QRect& destination, const TPicture& bitmap)
{
    loaded().stretchBitmap(destination, bitmap);
}

// Neither may fail: without the module no document was begun, and the
// operation that needs the font fails in its place.
void PrinterOnFirstUse::setFont(const QFont& font, const QColor& colour)
{
    if (printer)
        printer->setFont(font, colour);
}

void PrinterOnFirstUse::abort()
{
    if (printer)
        printer->abort();
}
