#pragma once
// The rights level dialog: "Lista praw" with the table levels or the field
// levels. "&OK" waits until a level is clicked; "&Anuluj" and Esc always
// cancel.

#include <QDialog>

class QButtonGroup;
class QPushButton;

class TDlPrawa : public QDialog {
    Q_OBJECT
public:
    // `level` presets the choice (a table level, or a field level 0, 1 or
    // 5; -1 for none).
    TDlPrawa(const QString& title, bool fieldLevels, int level, QWidget* parent = nullptr);

    // The level clicked: a table level as it is, a field level as 0, 1 or 5;
    // -1 when none is chosen.
    int level() const;
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QButtonGroup* levels() const { return m_levels; }

    // Shows the dialog over the active window; true with the chosen level on OK.
    static bool ask(const QString& title, bool fieldLevels, int& level);

private:
    bool m_fieldLevels;
    QButtonGroup* m_levels;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
