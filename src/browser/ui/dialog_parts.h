#pragma once
// Pieces every small dialog shares.

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace dialog_parts {

// "&OK" (the default button, accepts) and "&Anuluj" (rejects), right-aligned.
QHBoxLayout* okCancelRow(QDialog* dialog, QPushButton** ok = nullptr);

}  // namespace dialog_parts
