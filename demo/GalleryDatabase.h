#pragma once
// The gallery's sample database: customers and the places they live in,
// kept in the user's data folder so that what is saved there stays.
#include <functional>

#include "framework/db/Database.h"

// $XDG_DATA_HOME/astrevo/gallery.sqlite, ~/.local/share when XDG_DATA_HOME is
// not set.
AnsiString GalleryDatabasePath();

// Connects Db to Path, creating the folder, the file, its tables and sample
// rows when the file does not exist yet. An existing file is opened as it is.
void OpenGalleryDatabase(TDatabase& Db, const AnsiString& Path);

// Adds Count made-up places to the list in one transaction. Progress is
// called every few thousand rows with the number written; when it returns
// false nothing is kept. Returns whether the rows were kept.
bool AddManyPlaces(TDatabase& Db, int Count, const std::function<bool(int Done)>& Progress);
