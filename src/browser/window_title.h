#pragma once
// The title of a browser and the settings key its layout is kept under.

#include <QString>

namespace browser {

// What opened the window decides its title.
enum class OpenedFrom { MenuCommand, Button, PickField, Other };

// A menu command's caption, a button's text, a field's caption + " - WYBÓR"
// (choosing a value), else the data set's name; without the first "&".
QString baseTitle(OpenedFrom from, const QString& text, const QString& dataSetName);

// The title up to its first ":". A date in it is dropped, so that a window
// titled with the day it shows keeps one layout and does not leave a new
// key behind every day.
QString settingsKey(const QString& title);

// The title of a detail window: the base title and the master's CAPTION.
QString detailTitle(const QString& baseTitle, const QString& masterCaption);

// Attendance and extra-charge grids have no data sheet.
bool hasDataSheet(const QString& title);

}  // namespace browser
