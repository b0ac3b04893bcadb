// Names of picture files: their extension, what a name typed into the save
// dialog becomes on the disk, and the name a picture is kept under when the
// session ends before it was saved.
#pragma once

#include <QString>

#include <ctime>
#include <string>

// The part of the name from the last "." that stands after every folder or
// drive separator ("\", "/", ":"), the dot included; empty when there is none.
QString extensionOf(const QString& name);

// The typed name with ".bmp" appended, unless its extension already is
// ".BMP" in some mix of cases. The extension runs from the last "." that
// stands after every folder or drive separator ("\", "/", ":"), so the dot
// in "my.pics\cat" is no extension and "cat." becomes "cat..bmp".
QString withBitmapExtension(const QString& typed);

// A saved name as a path of this system, where "\" separates folders as
// "/" does: "pics\cat.bmp" is "cat.bmp" in the folder "pics".
QString hostPath(const QString& name);

// "Unsaved picture 2026-12-09 15-20-07.bmp" for the first attempt, then
// "Unsaved picture 2026-12-09 15-20-07 (2).bmp" and so on. Plain C++: it is
// also called on the way out of the process.
std::string unsavedPictureName(const std::tm& localTime, int attempt);
