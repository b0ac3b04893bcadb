// Everything outside the process that the program uses, in one place: the
// real services in the program, test doubles in the tests.
#pragma once

#include "dialogs.h"
#include "display_mode.h"
#include "document_opener.h"
#include "printer.h"
#include "random_numbers.h"

struct Platform {
    DisplayMode& display;
    DocumentOpener& documents;
    Dialogs& dialogs;
    RandomNumbers& random;
    Printer& printer;
};
