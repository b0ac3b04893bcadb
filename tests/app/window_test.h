// The fixture of the in-process tests: a test class derived from WindowTest
// gets the program made afresh (program.h), in a folder of its own, before
// every test function and every row of its data, and dropped after it.
#pragma once

#include "program.h"

#include <QObject>

#include <memory>

class WindowTest : public QObject {
    Q_OBJECT

protected:
    Program& program() { return *current; }
    TDrawForm& form() { return current->form; }
    FakePlatform& fake() { return current->fake; }

private slots:
    // Qt Test runs these around each test function of the derived class.
    void init() { current = std::make_unique<Program>(); }
    void cleanup() { current.reset(); }

private:
    std::unique_ptr<Program> current;
};
