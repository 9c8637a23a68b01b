#pragma once
// The radio picker: a radio group of choices (two columns when more than
// ten) and under it a label with a drop-down box.

#include "browser/prompts.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;

class TDlRadio : public QDialog {
    Q_OBJECT
public:
    explicit TDlRadio(const RadioRequest& request, QWidget* parent = nullptr);

    // Counted from 1; 0 when no radio choice was made.
    int choice() const;
    QString boxText() const;

    QButtonGroup* group() const { return m_group; }
    QComboBox* box() const { return m_box; }

private:
    QButtonGroup* m_group;
    QComboBox* m_box;
};
