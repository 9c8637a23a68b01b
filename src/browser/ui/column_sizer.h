#pragma once
// The widths of a grid's columns: those the user never set follow their
// content (caption and the rows shown), those the user dragged stay as
// the user left them. Widths set by the program go through setWidth, so
// that only the user's own resizing takes a column out of the automatic set.

#include <QFont>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>

class QTableView;
class RecordModel;

class ColumnSizer : public QObject {
    Q_OBJECT
public:
    ColumnSizer(QTableView* grid, RecordModel* model);

    void setAutomatic(const QString& field, bool automatic);
    bool isAutomatic(const QString& field) const { return m_automatic.contains(field.toUpper()); }
    // The automatic columns among those shown, in upper case.
    QStringList automaticShown() const;

    // Every automatic column shown as wide as its content.
    void fit();
    // The width the column's content needs (caption and the rows shown).
    int contentWidth(int logical) const;
    // A width set by the program, not by the user.
    void setWidth(int logical, int width);
    // A text shown under a column (its sum) that the column must hold too.
    void setFooter(std::function<QString(const QString& field)> text, QFont font);

private:
    void resized(int logical);

    QTableView* m_grid;
    RecordModel* m_model;
    QSet<QString> m_automatic;
    std::function<QString(const QString&)> m_footer;
    QFont m_footerFont;
    bool m_setting = false;
};
