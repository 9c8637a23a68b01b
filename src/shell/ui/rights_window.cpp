#include "rights_window.h"

#include "rights_level_dialog.h"

#include "browser/run_context.h"
#include "shell/rights_levels.h"
#include "store/table.h"

#include <QApplication>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Role { LevelRole = Qt::UserRole, FieldRole, PlaceholderRole };

QString placeholderText()
{
    return QStringLiteral("Prawa");
}

}  // namespace

TFmPrawa::TFmPrawa(RunContext& context, Table& registerRows, QChar letter, QWidget* parent)
    : TFmPodstawa(parent),
      m_context(context),
      m_rows(&registerRows),
      m_letter(letter),
      m_editor(context.db(), context.prompts, &TDlPrawa::ask)
{
    setObjectName(QStringLiteral("FmPrawa"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setContextMenuPolicy(Qt::ActionsContextMenu);
    containerLayout()->addWidget(m_tree);

    m_rights = new QAction(levelIcon(rights_levels::tableImage(5)), QStringLiteral("&Dane praw"), this);
    m_selectedTables = new QAction(QStringLiteral("Prawa &wybranych tabel"), this);
    QMenu* data = new QMenu(QStringLiteral("&Dane"), this);
    menuBar()->insertMenu(settingsMenu()->menuAction(), data);
    data->addAction(m_rights);
    data->addAction(m_selectedTables);
    QToolBar* tools = addToolBar(QStringLiteral("Pasek narzędzi"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addAction(m_rights);
    m_tree->addAction(m_rights);

    connect(m_rights, &QAction::triggered, this, &TFmPrawa::editSelected);
    connect(m_selectedTables, &QAction::triggered, this, &TFmPrawa::editSelectedTables);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &TFmPrawa::readTable);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item->parent())
            editSelected();
    });
    connect(&registerRows, &Table::scrolled, this, &TFmPrawa::reloadAll);
    connect(&registerRows, &QObject::destroyed, this, &QWidget::close);

    resize(420, 520);
    reloadAll();
}

void TFmPrawa::setLevelDialog(RightsEditor::LevelDialog dialog)
{
    m_editor.setLevelDialog(std::move(dialog));
}

QIcon TFmPrawa::levelIcon(int image)
{
    if (image < 0 || image >= rights_levels::imageCount)
        return {};
    // Fields are round, tables square; the colour goes from grey (nothing)
    // to green (everything), the digit is the level.
    static const QColor colours[] = {QColor(150, 150, 150), QColor(70, 110, 200), QColor(0, 150, 170),
                                     QColor(200, 140, 0),   QColor(200, 80, 40),  QColor(40, 150, 60)};
    const int level = image % 6;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colours[level]);
    if (image >= 6)
        p.drawRoundedRect(QRectF(1, 1, 14, 14), 2, 2);
    else
        p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::number(level));
    return QIcon(pixmap);
}

QTreeWidgetItem* TFmPrawa::tableNode(const QString& table) const
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        if (m_tree->topLevelItem(i)->text(0) == table)
            return m_tree->topLevelItem(i);
    return nullptr;
}

void TFmPrawa::reloadAll()
{
    if (!m_rows || !m_rows->isOpen())
        return;
    const bool hasRow = !m_rows->isEmpty() || m_rows->isEditing();
    const int code = hasRow ? m_rows->value(QStringLiteral("KOD")).toInt() : 0;
    const QString caption = hasRow ? m_rows->text(QStringLiteral("CAPTION")) : QString();
    m_editor.setSubject({m_letter, code}, caption);
    setWindowTitle(m_editor.title());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_tree->clear();
    const QList<rights_editing::TableLevels> tables = m_editor.readAll();
    for (const rights_editing::TableLevels& levels : tables) {
        auto* node = new QTreeWidgetItem(m_tree);
        showTable(node, levels, false);
    }
    QApplication::restoreOverrideCursor();
}

void TFmPrawa::showTable(QTreeWidgetItem* node, const rights_editing::TableLevels& levels, bool withFields)
{
    node->setText(0, levels.table);
    node->setData(0, LevelRole, levels.level);
    node->setIcon(0, levelIcon(rights_levels::tableImage(levels.level)));
    const bool blocked = m_tree->blockSignals(true);
    qDeleteAll(node->takeChildren());
    if (withFields) {
        for (const rights_editing::FieldLevel& f : levels.fields) {
            auto* child = new QTreeWidgetItem(node);
            child->setText(0, f.name);
            child->setData(0, FieldRole, true);
            child->setData(0, LevelRole, f.level);
            child->setIcon(0, levelIcon(rights_levels::fieldImage(f.level)));
        }
    } else {
        // Something to expand; the fields are read when it is expanded.
        auto* placeholder = new QTreeWidgetItem(node);
        placeholder->setText(0, placeholderText());
        placeholder->setData(0, PlaceholderRole, true);
    }
    m_tree->blockSignals(blocked);
}

void TFmPrawa::readTable(QTreeWidgetItem* node)
{
    if (!node || node->parent())
        return;
    if (const auto levels = m_editor.read(node->text(0)))
        showTable(node, *levels, node->isExpanded());
}

void TFmPrawa::editSelected()
{
    QTreeWidgetItem* node = m_tree->currentItem();
    if (!node || node->data(0, PlaceholderRole).toBool())
        return;
    const int level = node->data(0, LevelRole).toInt();
    bool written = false;
    QTreeWidgetItem* table = node->parent() ? node->parent() : node;
    if (node->parent())
        written = m_editor.chooseFieldLevel(table->text(0), node->text(0), level);
    else
        written = m_editor.chooseTableLevel(table->text(0), level);
    if (!written)
        return;
    const QString field = node->parent() ? node->text(0) : QString();
    readTable(table);
    // Keep the selection on the node that was changed.
    QTreeWidgetItem* current = table;
    for (int i = 0; !field.isEmpty() && i < table->childCount(); ++i)
        if (table->child(i)->text(0) == field)
            current = table->child(i);
    m_tree->setCurrentItem(current);
}

void TFmPrawa::editSelectedTables()
{
    m_editor.chooseSelectedTables(
        [this](const QString& table) {
            if (QTreeWidgetItem* node = tableNode(table))
                m_tree->setCurrentItem(node);
        },
        [this](const QString& table) {
            readTable(tableNode(table));
            QCoreApplication::processEvents();
        });
}

RightsWindowOpener rightsWindowOpener()
{
    return [](RunContext& context, Table& registerRows, QChar letter) {
        static QHash<Table*, QPointer<TFmPrawa>> open;
        QPointer<TFmPrawa>& window = open[&registerRows];
        if (!window) {
            window = new TFmPrawa(context, registerRows, letter, QApplication::activeWindow());
            window->setWindowFlag(Qt::Window);
            if (context.settings.modalWindows)
                window->setWindowModality(Qt::ApplicationModal);
        }
        window->show();
        window->raise();
        window->activateWindow();
    };
}
