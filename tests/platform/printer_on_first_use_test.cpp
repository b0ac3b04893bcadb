// Without its print module beside the program (this test program has none),
// printing fails as for a printer that cannot be reached, and the two
// operations that may not fail do not.
#include "printer_on_first_use.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(PrinterOnFirstUse, WithoutItsModuleIsAPrinterThatCannotBeReached)
{
    PrinterOnFirstUse printer;
    printer.setFont(QFont(), Qt::black);
    printer.abort();
    try {
        printer.resolution();
        FAIL() << "a printer without its module answered";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Printer selected is not valid");
    }
}
