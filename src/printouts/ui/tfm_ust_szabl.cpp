#include "tfm_ust_szabl.h"

#include "report_preview.h"
#include "template_sheet.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "browser/ui/shift_dialog.h"
#include "printouts/template_data_fields.h"
#include "printouts/template_sample.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

using namespace printouts;

namespace {

const QString dataField = QStringLiteral("DANE");

}  // namespace

TFmUstSzabl::TFmUstSzabl(RunContext& context, Table& templates, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_templates(templates),
      m_design(templateTypeOf(templates.text(QStringLiteral("TYP"))).value_or(TemplateType::Letters))
{
    setObjectName(QStringLiteral("TFmUstSzabl"));
    setWindowTitle(QStringLiteral("Projektowanie szablonu: ") + templates.text(QStringLiteral("NAZWA")));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(true);

    QString readError;
    try {
        m_design.read(templates.text(dataField));
    } catch (const Error& e) {
        readError = e.message();
    }
    m_design.changed = [this](const QString& text) { write(text); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);

    m_sheet = new TemplateSheet(m_design, this);
    buildTools();
    layout->addWidget(findChild<QToolBar*>());

    auto* body = new QHBoxLayout;
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_sheet);
    scroll->setWidgetResizable(false);
    scroll->setBackgroundRole(QPalette::Dark);
    body->addWidget(scroll, 1);
    body->addWidget(buildBoxPanel());
    layout->addLayout(body, 1);

    QMenu* settings = menus->addMenu(QStringLiteral("&Ustawienia"));
    m_landscape = settings->addAction(QStringLiteral("Poziomo"), this, &TFmUstSzabl::toggleLandscape);
    m_landscape->setCheckable(true);
    if (columnsOffered(m_design.type()))
        m_columns = settings->addAction(QStringLiteral("Kolumny: 1"), this, &TFmUstSzabl::askColumns);
    m_actions << m_landscape;
    if (m_columns)
        m_actions << m_columns;

    connect(m_sheet, &TemplateSheet::designChanged, this, &TFmUstSzabl::refresh);
    connect(m_sheet, &TemplateSheet::popupRequested, this, [this](const QPoint& at) { elementMenu()->exec(at); });

    readPictures();
    resize(1000, 720);
    refresh();
    if (!readError.isEmpty())
        m_context.prompts.showError(readError);
}

// --- building ---------------------------------------------------------------

void TFmUstSzabl::buildTools()
{
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const QString& text, const QString& hint, auto slot, const QKeySequence& keys = {}) {
        QAction* a = bar->addAction(text, this, slot);
        a->setToolTip(hint);
        a->setShortcut(keys);
        m_actions << a;
        return a;
    };

    auto* tools = new QActionGroup(this);
    QAction* select = bar->addAction(QStringLiteral("Wskaż"));
    select->setToolTip(QStringLiteral("Wybieranie elementów"));
    select->setCheckable(true);
    select->setChecked(true);
    tools->addAction(select);
    m_actions << select;
    connect(select, &QAction::triggered, this, [this] { m_sheet->setTool(std::nullopt); });
    for (ElementKind kind : {ElementKind::FixedText, ElementKind::DataField, ElementKind::Shape, ElementKind::Picture}) {
        QAction* a = bar->addAction(elementKindName(kind));
        a->setToolTip(elementKindName(kind));
        a->setCheckable(true);
        tools->addAction(a);
        m_actions << a;
        connect(a, &QAction::triggered, this, [this, kind] { m_sheet->setTool(kind); });
    }
    connect(m_sheet, &TemplateSheet::toolUsed, select, [select] { select->setChecked(true); });

    bar->addSeparator();
    add(QStringLiteral("Przesuń…"), QStringLiteral("Przesuń wybrane elementy"), &TFmUstSzabl::moveDialog);
    add(QStringLiteral("Powiel…"), QStringLiteral("Powiel wybrane elementy"), &TFmUstSzabl::duplicateDialog);
    add(QStringLiteral("Usuń…"), QStringLiteral("Usuń wybrane elementy"), &TFmUstSzabl::deleteChosen,
        QKeySequence::Delete);
    bar->addSeparator();
    m_undo = add(QStringLiteral("Cofnij"), QStringLiteral("Cofnij ostatnią zmianę"), &TFmUstSzabl::undo,
                 QKeySequence::Undo);
    add(QStringLiteral("Kopiuj"), QStringLiteral("Kopiuj układ szablonu"), &TFmUstSzabl::copyLayout);
    add(QStringLiteral("Wklej"), QStringLiteral("Wklej układ szablonu"), &TFmUstSzabl::pasteLayout);
    add(QStringLiteral("Podgląd"), QStringLiteral("Podgląd szablonu z danymi dziecka"), &TFmUstSzabl::previewWithChild);
    bar->addSeparator();
    add(QStringLiteral("Zapisz"), QStringLiteral("Zapisz"), &TFmUstSzabl::save, QKeySequence::Save);
}

QWidget* TFmUstSzabl::buildBoxPanel()
{
    m_boxPanel = new QWidget(this);
    auto* form = new QFormLayout(m_boxPanel);
    const char* captions[] = {"Od lewej", "Od góry", "Szerokość", "Wysokość"};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QSpinBox(m_boxPanel);
        box->setObjectName(QString::fromUtf8(captions[i]));
        box->setRange(i < 2 ? -30 : 0, 10000);
        box->setKeyboardTracking(false);
        form->addRow(QString::fromUtf8(captions[i]), box);
        m_boxFields[i] = box;
        const auto field = TemplateDesign::BoxField(i);
        connect(box, &QSpinBox::valueChanged, this, [this, field](int value) {
            if (m_refreshing)
                return;
            m_design.setBoxField(field, value);
            refresh();
        });
    }
    m_boxPanel->setFixedWidth(170);
    return m_boxPanel;
}

QAction* TFmUstSzabl::action(const QString& text) const
{
    for (QAction* a : m_actions)
        if (a->text() == text || a->toolTip() == text)
            return a;
    return nullptr;
}

QSpinBox* TFmUstSzabl::boxField(TemplateDesign::BoxField field) const
{
    return m_boxFields[int(field)];
}

// --- state ------------------------------------------------------------------

void TFmUstSzabl::write(const QString& layoutText)
{
    try {
        if (!m_templates.isEditing())
            m_templates.edit();
        m_templates.setValue(dataField, layoutText);
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
    }
}

void TFmUstSzabl::refresh()
{
    m_refreshing = true;
    const bool any = m_design.current() >= 0;
    m_boxPanel->setVisible(true);
    for (int i = 0; i < 4; ++i) {
        m_boxFields[i]->setVisible(any);
        if (auto* label = qobject_cast<QFormLayout*>(m_boxPanel->layout())->labelForField(m_boxFields[i]))
            label->setVisible(any);
        if (any)
            m_boxFields[i]->setValue(m_design.boxField(TemplateDesign::BoxField(i)));
    }
    m_landscape->setChecked(m_design.layout().landscape);
    if (m_columns)
        m_columns->setText(QStringLiteral("Kolumny: ") + QString::number(m_design.layout().columns));
    m_undo->setEnabled(m_design.canUndo());
    m_sheet->update();
    m_refreshing = false;
}

void TFmUstSzabl::readPictures()
{
    m_pictures.clear();
    for (const TemplateElement& e : m_design.layout().elements) {
        const std::optional<int> code = e.pictureCode();
        if (e.kind != ElementKind::Picture || !code || m_pictures.contains(*code))
            continue;
        try {
            Query q(m_context.db(), QStringLiteral("SELECT OBRAZ FROM OBRAZY WHERE KOD = :KOD"));
            q.bind(QStringLiteral("KOD"), *code).exec();
            if (q.next())
                m_pictures.insert(*code, QImage::fromData(q.value(0).toByteArray()));
        } catch (const Error&) {
            // An unreadable picture shows as an empty box.
        }
    }
    m_sheet->setPictures(m_pictures);
}

// --- commands ---------------------------------------------------------------

void TFmUstSzabl::copyLayout()
{
    QApplication::clipboard()->setText(m_design.layoutText());
}

void TFmUstSzabl::pasteLayout()
{
    try {
        m_design.paste(QApplication::clipboard()->text());
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return;
    }
    readPictures();
    refresh();
}

void TFmUstSzabl::save()
{
    try {
        if (m_templates.isEditing())
            m_templates.post();
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
    }
}

void TFmUstSzabl::moveDialog()
{
    TDlPrzesun dialog(this);
    dialog.setWindowTitle(QStringLiteral("Przesuń wybrane elementy"));
    dialog.setHandler([this](int vertical, int horizontal) {
        m_design.moveTargets(horizontal, vertical);
        refresh();
    });
    dialog.exec();
}

void TFmUstSzabl::duplicateDialog()
{
    if (m_design.targets().isEmpty())
        return;
    TDlPrzesun dialog(this);
    dialog.setWindowTitle(QStringLiteral("Powiel wybrane elementy"));
    int vertical = 0, horizontal = 0;
    if (!dialog.askShift(vertical, horizontal))
        return;
    m_design.duplicateTargets(horizontal, vertical);
    refresh();
}

void TFmUstSzabl::deleteChosen()
{
    m_design.deleteTargets();
    refresh();
}

void TFmUstSzabl::undo()
{
    m_design.undo();
    readPictures();
    refresh();
}

void TFmUstSzabl::toggleLandscape()
{
    m_design.setLandscape(!m_design.layout().landscape);
    refresh();
}

void TFmUstSzabl::askColumns()
{
    QString answer = QString::number(m_design.layout().columns);
    if (!m_context.prompts.askText(QStringLiteral("Liczba kolumn wydruku"), QStringLiteral("Podaj liczbę"), answer))
        return;
    m_design.setColumnsAnswer(answer);
    refresh();
}

void TFmUstSzabl::previewWithChild()
{
    QHash<int, ChildAddress> children;
    try {
        children = readChildAddresses(m_context.db());
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return;
    }
    if (!children.contains(m_sampleChild)) {
        QList<PickEntry> rows;
        for (const ChildAddress& c : std::as_const(children))
            if (c.aktywny)
                rows << PickEntry{c.nazwa + QStringLiteral(", ") + c.ulica, c.kod};
        QCollator order(QLocale(QLocale::Polish));
        std::sort(rows.begin(), rows.end(),
                  [&order](const PickEntry& a, const PickEntry& b) { return order.compare(a.text, b.text) < 0; });
        if (rows.isEmpty())
            return;
        int key = rows.first().value.toInt();
        if (!m_context.prompts.pickRecord(QStringLiteral("Dzieci"), rows, key, false) || !children.contains(key))
            return;
        m_sampleChild = key;
    }
    std::shared_ptr<report::Job> job = makeTemplateSampleJob(m_design.layout(), m_design.type(),
                                                             children.value(m_sampleChild), m_context.institution,
                                                             m_pictures, QDate::currentDate());
    TReportPreview* window = TReportPreview::open(job, m_context.prompts, this);
    // The designer is modal: its preview must be too, or it could not be used.
    if (isModal() && window) {
        window->hide();
        window->setWindowModality(Qt::ApplicationModal);
        window->showMaximized();
    }
}

namespace printouts {

void designTemplateInWindow(RunContext& context, Table& templates)
{
    if (templates.state() == Table::State::Inactive || (templates.rowCount() == 0 && !templates.isEditing()))
        return;
    TFmUstSzabl designer(context, templates, QApplication::activeWindow());
    designer.exec();
}

}  // namespace printouts
