// Names of picture files: their extension, what a name typed into the save
// dialog becomes on the disk, and the names a picture is kept under when the
// session ends before it was saved.
#pragma once

#include <QString>

#include <ctime>
#include <functional>
#include <string>

// The part of the name from the last "." that stands after every folder or
// drive separator ("\", "/", ":"), the dot included; empty when there is none.
QString extensionOf(const QString& name);

// The typed name with ".bmp" appended, unless its extension already is
// ".BMP" in some mix of cases. The extension runs from the last "." that
// stands after every folder or drive separator ("\", "/", ":"), so "cat."
// becomes "cat..bmp".
QString withBitmapExtension(const QString& typed);

// What a typed name is saved under: always a picture the load dialog lists,
// in the pictures folder itself. Folder separators ("/", "\") become "-"
// and dots at the start go, so that no name leads into another folder or
// is hidden; then ".bmp" is appended as withBitmapExtension does. A name
// with nothing left to show becomes the first of "Picture 1.bmp", "Picture
// 2.bmp", ... that isTaken says is free. Saving the result again gives the
// same name.
QString pictureNameFor(const QString& typed, const std::function<bool(const QString&)>& isTaken);

// "Unsaved picture 2026-12-09 15-20-07.bmp" for the first attempt, then
// "Unsaved picture 2026-12-09 15-20-07 (2).bmp" and so on. Plain C++: it is
// also called on the way out of the process.
std::string unsavedPictureName(const std::tm& localTime, int attempt);
