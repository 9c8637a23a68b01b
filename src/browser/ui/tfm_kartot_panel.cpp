// The panel under the toolbar: navigator, "&Wybierz", quick searches and
// quick filters; and the filter dialog whose entries the quick filters share.

#include "tfm_kartot.h"

#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/quick_filters.h"
#include "browser/record_search.h"
#include "browser/refusal.h"
#include "browser/run_context.h"
#include "browser/ui/record_model.h"
#include "browser/ui/tfm_filtr.h"
#include "store/error.h"
#include "store/table.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

void TFmKartot::buildPanel()
{
    m_panel = new QWidget(container());
    m_panel->setObjectName(QStringLiteral("Panel"));
    m_panelLayout = new QHBoxLayout(m_panel);
    m_panelLayout->setContentsMargins(0, 0, 0, 0);
    m_panelLayout->setSpacing(4);
    buildNavigator(m_panelLayout);
    m_choose = new QPushButton(QStringLiteral("&Wybierz"), m_panel);
    m_choose->setVisible(m_controller->pickMode());
    connect(m_choose, &QPushButton::clicked, this, &TFmKartot::choose);
    m_panelLayout->addWidget(m_choose, 0, Qt::AlignBottom);
    m_quickLayout = new QHBoxLayout;
    m_quickLayout->setSpacing(4);
    m_panelLayout->addLayout(m_quickLayout);
    m_panelLayout->addStretch(1);
    m_panel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_panel, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        QMenu menu;
        menu.addAction(action(QStringLiteral("&Ustaw szybkie filtry")));
        menu.exec(m_panel->mapToGlobal(p));
    });
    containerLayout()->addWidget(m_panel);
    for (const QString& f : m_controller->searchFields())
        addQuickSearch(f);
}

void TFmKartot::buildNavigator(QHBoxLayout* row)
{
    auto* nav = new QWidget(m_panel);
    nav->setObjectName(QStringLiteral("Nawigator"));
    auto* l = new QHBoxLayout(nav);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    struct Button {
        const char* text;
        const char* tip;
        Nav nav;
    };
    const QList<Button> buttons = {
        {"|◀", "Pierwszy", Nav::First}, {"◀", "Poprzedni", Nav::Prior}, {"▶", "Następny", Nav::Next},
        {"▶|", "Ostatni", Nav::Last},   {"+", "Dodaj", Nav::Insert},     {"−", "Usuń", Nav::Delete},
        {"▲", "Edytuj", Nav::Edit},     {"✓", "Zapisz", Nav::Post},      {"✕", "Anuluj", Nav::Cancel},
        {"↻", "Odśwież", Nav::Refresh},
    };
    for (const Button& b : buttons) {
        auto* t = new QToolButton(nav);
        t->setText(QString::fromUtf8(b.text));
        t->setToolTip(QString::fromUtf8(b.tip));
        t->setObjectName(QString::fromUtf8(b.tip));
        t->setAutoRaise(!m_context.settings.raisedButtons);
        t->setFixedSize(24, 24);
        connect(t, &QToolButton::clicked, this, [this, button = b.nav] { navigate(button); });
        l->addWidget(t);
    }
    row->addWidget(nav, 0, Qt::AlignBottom);
}

void TFmKartot::navigate(Nav button)
{
    // A window docked here is worked on while the focus is in it.
    TFmKartot* t = navigatorTarget();
    Table& data = t->table();
    const auto move = [t, &data](void (Table::*step)()) {
        if (!data.isEditing() || t->post())
            (data.*step)();
    };
    try {
        switch (button) {
        case Nav::First: move(&Table::first); break;
        case Nav::Prior: move(&Table::prior); break;
        case Nav::Next: move(&Table::next); break;
        case Nav::Last: move(&Table::last); break;
        case Nav::Insert: t->insertFromSheet(); break;
        case Nav::Delete:
            // Asked from here, the question says whose rows go.
            t->deleteSelected(t == this ? QString() : t->windowTitle() + QStringLiteral("\r\n"));
            break;
        case Nav::Edit: data.edit(); break;
        case Nav::Post: t->post(); break;
        case Nav::Cancel: data.cancel(); break;
        case Nav::Refresh: t->refresh(); break;
        }
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
    }
}

void TFmKartot::addQuickSearch(const QString& field)
{
    const FieldView* v = dataSet().field(field);
    auto* box = new QWidget(m_panel);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(new QLabel(QStringLiteral("Szukaj: ") + (v ? v->caption : field), box));
    auto* edit = new QLineEdit(box);
    edit->setObjectName(QStringLiteral("Szukaj") + field);
    edit->setFixedWidth(120);
    // The window's keys (copy of rows, Ctrl+F, …) work from the box too.
    edit->installEventFilter(this);
    l->addWidget(edit);
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        if (text.isEmpty())
            return;
        const int row = search::quick(table(), field, text);
        if (row >= 0 && row != table().position())
            selectOnly(row);
    });
    connect(edit, &QLineEdit::returnPressed, this, [this, edit, field] {
        if (m_controller->pickMode()) {
            choose();
            return;
        }
        const int row = search::scan(table(), field, edit->text(), false, table().position() + 1, true);
        if (row >= 0)
            selectOnly(row);
    });
    m_searchBoxes << edit;
    m_quickLayout->addWidget(box, 0, Qt::AlignBottom);
}

void TFmKartot::rebuildQuickFilters(const QStringList& fields)
{
    for (QWidget* w : m_quickWidgets)
        delete w;
    m_quickWidgets.clear();
    m_quickFilterFields = fields;
    m_controller->setQuickFilters(fields);
    for (const QString& f : fields)
        addQuickFilter(f);
    m_controller->refilter();
    mirrorQuickFilters();
}

void TFmKartot::addQuickFilter(const QString& field)
{
    const FieldView* v = dataSet().field(field);
    if (!v)
        return;
    auto* box = new QWidget(m_panel);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    auto* check = new QCheckBox(v->caption, box);
    auto* combo = new QComboBox(box);
    combo->setObjectName(QStringLiteral("Filtr") + field);
    check->setObjectName(QStringLiteral("FiltrWl") + field);
    combo->setFixedWidth(120);
    const bool lookup = quickfilter::isLookup(table(), field);
    if (lookup) {
        try {
            for (const PickEntry& e : quickfilter::lookupValues(table(), field))
                combo->addItem(e.text, e.value);
        } catch (const Error& e) {
            refusal::show(m_context.prompts, e);
        }
        combo->view()->setMinimumWidth(200);
    } else {
        for (const QString& s : quickfilter::fixedValues(field, m_context.systemDate()))
            combo->addItem(s, s);
    }
    combo->setCurrentIndex(-1);
    l->addWidget(check);
    l->addWidget(combo);
    // The filter dialog, while shown, owns the entries.
    const auto dialogShown = [this] { return m_filterDialog && m_filterDialog->isVisible(); };
    connect(combo, &QComboBox::activated, this, [this, combo, field, dialogShown](int i) {
        if (dialogShown())
            return;
        m_controller->filters().chooseValue(field, combo->itemData(i), combo->itemText(i));
        applyQuickFilter();
    });
    connect(check, &QCheckBox::clicked, this, [this, field, dialogShown] {
        if (!dialogShown()) {
            const datafilter::Entry* e = m_controller->filters().entry(field);
            m_controller->filters().setActive(field, !(e && e->on));
            applyQuickFilter();
        }
        mirrorQuickFilters();
    });
    m_quickWidgets << box;
    m_quickLayout->addWidget(box, 0, Qt::AlignBottom);
}

void TFmKartot::applyQuickFilter()
{
    try {
        m_controller->applyFilters();
    } catch (const Error& e) {
        refusal::show(m_context.prompts, e);
    }
    mirrorQuickFilters();
    syncGridToTable();
}

void TFmKartot::mirrorQuickFilters()
{
    for (const QString& field : m_quickFilterFields) {
        auto* check = m_panel->findChild<QCheckBox*>(QStringLiteral("FiltrWl") + field);
        auto* combo = m_panel->findChild<QComboBox*>(QStringLiteral("Filtr") + field);
        if (!check || !combo)
            continue;
        const datafilter::Entry* e = m_controller->filters().entry(field);
        const quickfilter::Mirror m = e ? quickfilter::mirrorOf(*e) : quickfilter::Mirror{};
        check->setTristate(m.check == Qt::PartiallyChecked);
        check->setCheckState(m.check);
        int index = -1;
        for (int i = 0; i < combo->count() && e; ++i)
            if (combo->itemData(i).toString() == m.value) {
                index = i;
                break;
            }
        combo->setCurrentIndex(index);
    }
}

TFmFiltr* TFmKartot::filterDialog() const
{
    return m_filterDialog;
}

void TFmKartot::filter()
{
    if (!m_filterDialog)
        m_filterDialog = new TFmFiltr(m_controller->filters(), table(), m_context.prompts, this);
    if (m_filterDialog->exec() == QDialog::Accepted) {
        try {
            m_controller->refilter();
        } catch (const Error& e) {
            refusal::show(m_context.prompts, e);
        }
    }
    mirrorQuickFilters();
    syncGridToTable();
}

void TFmKartot::setUpQuickFilters()
{
    QStringList fields = m_quickFilterFields;
    if (quickfilter::choose(m_context.prompts, dataSet(), fields))
        rebuildQuickFilters(fields);
}
