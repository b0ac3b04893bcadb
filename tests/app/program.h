// The main window and its dialogs as the program makes them, on the
// platform's test doubles, working in a fresh folder of their own.
#pragma once

#include "Confirm.h"
#include "brisko_drawu.h"
#include "doubles.h"
#include "loadpicu.h"
#include "read_file.h"
#include "saveu.h"
#include "scoped_environment.h"
#include "surface.h"
#include "temporary_directory.h"

#include <QByteArray>
#include <QDir>
#include <QTest>

#include <string>

// Made first, so that the load dialog lists this folder.
struct ProgramFolder {
    ProgramFolder() { QDir::setCurrent(QString::fromStdString(folder.path())); }
    ~ProgramFolder() { QDir::setCurrent(previousFolder); }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // A file in the program's folder.
    QString file(const std::string& name) const { return QString::fromStdString(folder.file(name)); }

    const QString previousFolder = QDir::currentPath();
    TemporaryDirectory folder{"scribbo-app"};
    // Scribbo's data folder, for what the pictures folder cannot take.
    TemporaryDirectory dataHome{"scribbo-data"};
    const ScopedEnvironment dataHomeSetting{"XDG_DATA_HOME", dataHome.path()};
};

struct Program : ProgramFolder {
    explicit Program(RandomNumbers* chance = nullptr)
        : fake(chance), confirmBox(&form, fake.dialogs), saveBox(&form, fake.dialogs), loadPic(&form, fake.dialogs)
    {
        DrawForm = &form;
        ConfirmBox = &confirmBox;
        SaveBox = &saveBox;
        LoadPic = &loadPic;
    }
    ~Program()
    {
        LoadPic = nullptr;
        SaveBox = nullptr;
        ConfirmBox = nullptr;
        DrawForm = nullptr;
    }

    FakePlatform fake;
    TDrawForm form{fake.platform};
    TConfirmBox confirmBox;
    TSaveBox saveBox;
    TLoadPic loadPic;
};

// Types the name into the save dialog and presses Enter, as a child does.
inline void typeName(TSaveBox& box, const QString& name)
{
    QTest::keyClicks(box.Edit1, name);
    QTest::keyClick(box.Edit1, Qt::Key_Return);
}

// A file's bytes, empty when it cannot be read.
inline QByteArray contentsOf(const std::string& path) { return QByteArray::fromStdString(readFile(path)); }
inline QByteArray contentsOf(const QString& path) { return contentsOf(path.toStdString()); }

// The bytes of the picture's file as a save writes it.
inline QByteArray savedBytesOf(const TPicture& picture)
{
    const std::vector<std::uint8_t> bytes = encodeBitmap(toHalftone(picture));
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}
