#include "tfm_filtr.h"

#include "browser/data_filter.h"
#include "browser/prompts.h"
#include "browser/quick_filters.h"
#include "store/error.h"
#include "store/polish_dates.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

enum Column { CaptionColumn, FromLabelColumn, FromColumn, ToLabelColumn, ToColumn };

}  // namespace

TFmFiltr::TFmFiltr(datafilter::Filter& filter, Table& table, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_filter(filter), m_table(table), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmFiltr"));
    setWindowTitle(QStringLiteral("Ustawienie filtru danych"));
    resize(760, 420);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListaPol"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Pola tabeli"), QString(), QString(), QString(), QString()});
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(CaptionColumn, 150);
    m_list->setColumnWidth(FromLabelColumn, 28);
    m_list->setColumnWidth(FromColumn, 95);
    m_list->setColumnWidth(ToLabelColumn, 28);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        QMenu menu;
        QAction* all = menu.addAction(QStringLiteral("&Zaznacz wszystko"));
        QAction* none = menu.addAction(QStringLiteral("&Wyczyść znaczniki"));
        QAction* chosen = menu.exec(m_list->viewport()->mapToGlobal(p));
        if (chosen == all || chosen == none) {
            m_filter.switchAll(chosen == all);
            for (int i = 0; i < m_list->topLevelItemCount(); ++i)
                showRow(i);
        }
    });
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { presetEditor(); });
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (m_presetting || column != CaptionColumn)
            return;
        if (datafilter::Entry* e = entry(m_list->indexOfTopLevelItem(item)))
            e->on = item->checkState(CaptionColumn) == Qt::Checked;
    });

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Edytor"));
    buildEditors();

    auto* body = new QHBoxLayout;
    body->addWidget(m_list, 3);
    body->addWidget(m_pages, 2);

    m_execute = new QPushButton(QStringLiteral("&Wykonaj"), this);
    m_execute->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    connect(m_execute, &QPushButton::clicked, this, &TFmFiltr::execute);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_execute);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
}

QWidget* TFmFiltr::pairPage(Pair& pair, QWidget* from, QWidget* to, QCheckBox* fromCheck, QCheckBox* toCheck)
{
    auto* page = new QWidget(m_pages);
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Od"), page), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Do"), page), 1, 0);
    int column = 1;
    if (fromCheck) {
        grid->addWidget(fromCheck, 0, 1);
        grid->addWidget(toCheck, 1, 1);
        column = 2;
    }
    grid->addWidget(from, 0, column);
    grid->addWidget(to, 1, column);
    grid->setRowStretch(2, 1);
    pair.from = from;
    pair.to = to;
    return page;
}

void TFmFiltr::buildEditors()
{
    Pair pair;
    m_pages->insertWidget(Empty, new QWidget(m_pages));

    auto* lookupPage = new QWidget(m_pages);
    auto* lookupLayout = new QVBoxLayout(lookupPage);
    m_lookup = new QComboBox(lookupPage);
    m_lookup->setObjectName(QStringLiteral("Wartosc"));
    lookupLayout->addWidget(m_lookup);
    lookupLayout->addStretch(1);
    m_pages->insertWidget(Lookup, lookupPage);
    connect(m_lookup, &QComboBox::activated, this, [this](int i) {
        m_filter.choose(currentEntry(), m_lookup->itemData(i).toString(), m_lookup->itemText(i));
        showRow(currentEntry());
    });

    m_intFrom = new QSpinBox;
    m_intTo = new QSpinBox;
    m_pages->insertWidget(Integer, pairPage(pair, m_intFrom, m_intTo));
    for (QSpinBox* box : {m_intFrom, m_intTo}) {
        const bool from = box == m_intFrom;
        box->setObjectName(from ? QStringLiteral("CalkowitaOd") : QStringLiteral("CalkowitaDo"));
        // Typing may go past the declared bounds; leaving the box says so.
        box->setRange(INT_MIN, INT_MAX);
        connect(box, &QSpinBox::valueChanged, this, [this, from](int v) { edited(from, QString::number(v)); });
        connect(box, &QSpinBox::editingFinished, this, [this, box] {
            const datafilter::Entry* e = entry(currentEntry());
            if (m_presetting || m_checking || !e)
                return;
            // The message takes the focus, which would finish the editing again.
            m_checking = true;
            try {
                datafilter::checkBound(*e, box->value());
            } catch (const Error& err) {
                m_prompts.showError(err.message());
                QTimer::singleShot(0, box, [box] { box->setFocus(); });
            }
            m_checking = false;
        });
    }

    m_floatFrom = new QLineEdit;
    m_floatTo = new QLineEdit;
    m_pages->insertWidget(Float, pairPage(pair, m_floatFrom, m_floatTo));
    for (QLineEdit* edit : {m_floatFrom, m_floatTo}) {
        const bool from = edit == m_floatFrom;
        edit->setObjectName(from ? QStringLiteral("LiczbaOd") : QStringLiteral("LiczbaDo"));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, from](const QString& t) { edited(from, t); });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, from] {
            if (m_presetting || m_checking)
                return;
            m_checking = true;
            if (!checkNumber(edit, from))
                QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
            m_checking = false;
        });
    }

    m_dateFromOn = new QCheckBox;
    m_dateToOn = new QCheckBox;
    m_dateFrom = new QDateEdit;
    m_dateTo = new QDateEdit;
    m_pages->insertWidget(Date, pairPage(pair, m_dateFrom, m_dateTo, m_dateFromOn, m_dateToOn));
    for (QDateEdit* edit : {m_dateFrom, m_dateTo}) {
        const bool from = edit == m_dateFrom;
        edit->setObjectName(from ? QStringLiteral("DataOd") : QStringLiteral("DataDo"));
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setCalendarPopup(true);
        QCheckBox* check = from ? m_dateFromOn : m_dateToOn;
        check->setObjectName(from ? QStringLiteral("DataOdWl") : QStringLiteral("DataDoWl"));
        connect(edit, &QDateEdit::dateChanged, this, [this, check, from] {
            if (m_presetting)
                return;
            // Picking a date means the bound is wanted.
            m_presetting = true;
            check->setChecked(true);
            m_presetting = false;
            dateEdited(from);
        });
        connect(check, &QCheckBox::toggled, this, [this, from] { dateEdited(from); });
    }

    m_textFrom = new QLineEdit;
    m_textTo = new QLineEdit;
    m_pages->insertWidget(Text, pairPage(pair, m_textFrom, m_textTo));
    for (QLineEdit* edit : {m_textFrom, m_textTo}) {
        const bool from = edit == m_textFrom;
        edit->setObjectName(from ? QStringLiteral("TekstOd") : QStringLiteral("TekstDo"));
        connect(edit, &QLineEdit::textEdited, this, [this, from](const QString& t) { edited(from, t); });
    }
}

datafilter::Entry* TFmFiltr::entry(int index) const
{
    QList<datafilter::Entry>& list = m_filter.entries();
    return index >= 0 && index < list.size() ? &list[index] : nullptr;
}

int TFmFiltr::currentEntry() const
{
    return m_list->indexOfTopLevelItem(m_list->currentItem());
}

void TFmFiltr::selectEntry(int index)
{
    if (QTreeWidgetItem* item = m_list->topLevelItem(index))
        m_list->setCurrentItem(item);
}

void TFmFiltr::showEvent(QShowEvent* event)
{
    fillList();
    QDialog::showEvent(event);
}

void TFmFiltr::fillList()
{
    const int selected = std::max(currentEntry(), 0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QList<datafilter::Entry>& entries = m_filter.entries();
    QApplication::restoreOverrideCursor();
    m_presetting = true;
    m_list->clear();
    for (int i = 0; i < entries.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setText(FromLabelColumn, QStringLiteral("Od"));
        item->setText(ToLabelColumn, QStringLiteral("Do"));
        showRow(i);
    }
    m_presetting = false;
    m_lookupFor = -1;
    selectEntry(std::min(selected, int(entries.size()) - 1));
    presetEditor();
}

void TFmFiltr::showRow(int index)
{
    QTreeWidgetItem* item = m_list->topLevelItem(index);
    const datafilter::Entry* e = entry(index);
    if (!item || !e)
        return;
    const bool was = m_presetting;
    m_presetting = true;
    item->setText(CaptionColumn, e->caption);
    item->setCheckState(CaptionColumn, e->on ? Qt::Checked : Qt::Unchecked);
    item->setText(FromColumn, e->from);
    item->setText(ToColumn, e->to);
    m_presetting = was;
}

void TFmFiltr::presetEditor()
{
    const datafilter::Entry* e = entry(currentEntry());
    m_presetting = true;
    if (!e) {
        m_pages->setCurrentIndex(Empty);
    } else {
        switch (e->kind) {
        case datafilter::Kind::Lookup:
            m_pages->setCurrentIndex(Lookup);
            if (m_lookupFor != currentEntry()) {
                m_lookup->clear();
                try {
                    for (const PickEntry& p : quickfilter::lookupValues(m_table, e->field))
                        m_lookup->addItem(p.text, p.value);
                } catch (const Error& err) {
                    m_prompts.showError(err.message());
                }
                m_lookupFor = currentEntry();
            }
            m_lookup->setCurrentIndex(-1);
            for (int i = 0; i < m_lookup->count(); ++i)
                if (m_lookup->itemData(i).toString() == e->from)
                    m_lookup->setCurrentIndex(i);
            break;
        case datafilter::Kind::Integer: {
            m_pages->setCurrentIndex(Integer);
            m_intFrom->setValue(e->from.toInt());
            m_intTo->setValue(e->to.toInt());
            break;
        }
        case datafilter::Kind::Float:
            m_pages->setCurrentIndex(Float);
            m_floatFrom->setText(e->from);
            m_floatTo->setText(e->to);
            break;
        case datafilter::Kind::Date: {
            m_pages->setCurrentIndex(Date);
            const QDate today = QDate::currentDate();
            const QDate from = polish::parseShortDate(e->from), to = polish::parseShortDate(e->to);
            m_dateFromOn->setChecked(from.isValid());
            m_dateToOn->setChecked(to.isValid());
            m_dateFrom->setDate(from.isValid() ? from : today);
            m_dateTo->setDate(to.isValid() ? to : today);
            break;
        }
        case datafilter::Kind::Text:
            m_pages->setCurrentIndex(Text);
            m_textFrom->setText(e->from);
            m_textTo->setText(e->to);
            break;
        }
    }
    m_presetting = false;
}

void TFmFiltr::edited(bool from, const QString& text)
{
    if (m_presetting)
        return;
    const int i = currentEntry();
    if (from)
        m_filter.setFrom(i, text);
    else
        m_filter.setTo(i, text);
    showRow(i);
}

void TFmFiltr::dateEdited(bool from)
{
    if (m_presetting)
        return;
    const QCheckBox* check = from ? m_dateFromOn : m_dateToOn;
    const QDateEdit* edit = from ? m_dateFrom : m_dateTo;
    edited(from, check->isChecked() ? polish::shortDate(edit->date()) : QString());
}

bool TFmFiltr::checkNumber(QLineEdit* edit, bool from)
{
    const datafilter::Entry* e = entry(currentEntry());
    if (!e || e->kind != datafilter::Kind::Float)
        return true;
    if (edit->text().trimmed().isEmpty()) {
        edit->setText(QStringLiteral("0"));
        edited(from, edit->text());
    }
    const std::optional<double> v = datafilter::readNumber(edit->text());
    try {
        if (!v)
            throw Error(QStringLiteral("'%1' nie jest poprawną liczbą").arg(edit->text()));
        datafilter::checkBound(*e, *v);
    } catch (const Error& err) {
        m_prompts.showError(err.message());
        return false;
    }
    return true;
}

bool TFmFiltr::checkNumbers()
{
    const datafilter::Entry* e = entry(currentEntry());
    if (!e)
        return true;
    try {
        if (e->kind == datafilter::Kind::Integer) {
            datafilter::checkBound(*e, m_intFrom->value());
            datafilter::checkBound(*e, m_intTo->value());
        }
    } catch (const Error& err) {
        m_prompts.showError(err.message());
        return false;
    }
    if (e->kind == datafilter::Kind::Float)
        return checkNumber(m_floatFrom, true) && checkNumber(m_floatTo, false);
    return true;
}

void TFmFiltr::execute()
{
    if (!checkNumbers())
        return;
    try {
        m_filter.apply();
    } catch (const Error& err) {
        m_prompts.showError(err.message());
        return;
    }
    accept();
}

void TFmFiltr::done(int result)
{
    // Whatever closes the dialog, the entries go back to the last apply:
    // so "&Anuluj" drops every change since.
    m_filter.restore();
    QDialog::done(result);
}

bool TFmFiltr::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_floatFrom || watched == m_floatTo)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint()) {
            auto* edit = static_cast<QLineEdit*>(watched);
            QString kept = edit->text();
            kept.remove(edit->selectionStart() < 0 ? 0 : edit->selectionStart(), edit->selectedText().size());
            if (!datafilter::acceptsNumberKey(kept, text[0]))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
