// The main window and its save dialog as the program makes them, on the
// platform's test doubles, working in a fresh folder of their own.
#pragma once

#include "brisko_drawu.h"
#include "doubles.h"
#include "saveu.h"
#include "temporary_directory.h"

#include <QDir>
#include <QTest>

#include <string>

struct Program {
    Program() : saveBox(&form, fake.dialogs)
    {
        DrawForm = &form;
        SaveBox = &saveBox;
        QDir::setCurrent(QString::fromStdString(folder.path()));
    }
    ~Program()
    {
        QDir::setCurrent(previousFolder);
        SaveBox = nullptr;
        DrawForm = nullptr;
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // A file in the program's folder.
    QString file(const std::string& name) const { return QString::fromStdString(folder.file(name)); }

    const QString previousFolder = QDir::currentPath();
    TemporaryDirectory folder{"scribbo-app"};
    FakePlatform fake;
    TDrawForm form{fake.platform};
    TSaveBox saveBox;
};

// Types the name into the save dialog and presses Enter, as a child does.
inline void typeName(TSaveBox& box, const QString& name)
{
    QTest::keyClicks(box.Edit1, name);
    QTest::keyClick(box.Edit1, Qt::Key_Return);
}
