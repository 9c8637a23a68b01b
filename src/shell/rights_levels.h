#pragma once
// The levels an administrator chooses from when granting a table or one of
// its fields, with their captions and the images of the rights tree. The
// masks behind the levels are the store's (store/rights.h).

#include <QString>
#include <QStringList>

namespace rights_levels {

// "Nic", "Czyta", "Edytuje", "Edytuje+Dodaje", "Edytuje+Dodaje+Kasuje",
// "Wszystko": levels 0..5 in this order.
const QStringList& tableCaptions();
// "Nic", "Czyta", "Wszystko": field levels 0, 1 and 5.
const QStringList& fieldCaptions();

// The caption of a table or field level; empty for a level without one.
QString tableCaption(int level);
QString fieldCaption(int level);

// The radio position (0-based) of a field level, and back: 0 -> 0, 1 -> 1,
// 5 -> 2. A field shown at a level above "Czyta" that is not "Wszystko"
// starts on "Wszystko"; a level without a caption (-1) on nothing (-1).
int fieldChoiceOfLevel(int level);
int fieldLevelOfChoice(int choice);

// The image of a tree node: a field at level L shows image L, a table at
// level L image L + 6; a level without a mask (-1) has no image (-1).
int fieldImage(int level);
int tableImage(int level);
inline constexpr int imageCount = 12;

}  // namespace rights_levels
