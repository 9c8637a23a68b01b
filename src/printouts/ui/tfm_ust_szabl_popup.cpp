// The designer's element popup: alignment, font, text, data field, shape
// variant, thickness, colour, picture and deletion of the current element.

#include "tfm_ust_szabl.h"

#include "template_sheet.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/report_fonts.h"
#include "printouts/template_data_fields.h"
#include "store/error.h"
#include "store/query.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QFontDialog>
#include <QMenu>

using namespace printouts;

namespace {

QFont dialogFont(const TemplateFont& f)
{
    QFont font(f.name);
    font.setPointSize(f.size > 0 ? f.size : std::max(1, (-f.height * 72 + 48) / 96));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

TemplateFont templateFont(const QFont& font, TemplateFont f)
{
    f.name = font.family();
    f.size = font.pointSize() > 0 ? font.pointSize() : int(font.pointSizeF() + 0.5);
    f.height = fontHeightForSize(f.size);
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeOut = font.strikeOut();
    return f;
}

}  // namespace

QMenu* TFmUstSzabl::elementMenu()
{
    delete m_popup;
    m_popup = makeElementMenu();
    return m_popup;
}

QMenu* TFmUstSzabl::makeElementMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ElementMenu"));
    const int index = m_design.current();
    if (index < 0)
        return menu;
    const TemplateElement e = m_design.element(index);
    auto changed = [this] { refresh(); };

    if (e.isText()) {
        auto* alignments = new QActionGroup(menu);
        const QList<QPair<QString, TextAlignment>> items{{QStringLiteral("Do &lewej"), TextAlignment::Left},
                                                         {QStringLiteral("Do &prawej"), TextAlignment::Right},
                                                         {QStringLiteral("&Wyśrodkowane"), TextAlignment::Centre}};
        for (const auto& [caption, alignment] : items) {
            QAction* a = menu->addAction(caption);
            a->setCheckable(true);
            a->setChecked(e.alignment == alignment);
            alignments->addAction(a);
            const TextAlignment chosen = alignment;
            connect(a, &QAction::triggered, this, [this, chosen, changed] {
                m_design.setAlignment(chosen);
                changed();
            });
        }
        menu->addAction(QStringLiteral("&Font"), this, &TFmUstSzabl::chooseFont);
    }
    if (e.kind == ElementKind::FixedText)
        menu->addAction(QStringLiteral("&Tekst"), this, &TFmUstSzabl::editText);
    if (e.kind == ElementKind::DataField) {
        QMenu* fields = menu->addMenu(QStringLiteral("&Dana"));
        for (const QString& name : dataFieldsOffered(m_design.type())) {
            QAction* a = fields->addAction(name);
            a->setCheckable(true);
            a->setChecked(e.content == name);
            connect(a, &QAction::triggered, this, [this, name, changed] {
                m_design.setContent(name);
                changed();
            });
        }
    }
    if (e.kind == ElementKind::Shape) {
        menu->addAction(QStringLiteral("&Grubość"), this, &TFmUstSzabl::askThickness);
        menu->addAction(QStringLiteral("K&olor"), this, &TFmUstSzabl::chooseLineColour);
        QMenu* variants = menu->addMenu(QStringLiteral("&Kształt"));
        for (ShapeVariant v : {ShapeVariant::Frame, ShapeVariant::LeftAndRight, ShapeVariant::TopAndBottom}) {
            const QString name = shapeVariantName(v);
            QAction* a = variants->addAction(name);
            a->setCheckable(true);
            a->setChecked(shapeVariantOf(e.content) == v);
            connect(a, &QAction::triggered, this, [this, name, changed] {
                m_design.setContent(name);
                changed();
            });
        }
    }
    if (e.kind == ElementKind::Picture)
        menu->addAction(QStringLiteral("Obraz"), this, &TFmUstSzabl::choosePicture);
    menu->addSeparator();
    menu->addAction(QStringLiteral("&Usuń"), this, [this, changed] {
        m_design.deleteCurrent();
        changed();
    });
    return menu;
}

void TFmUstSzabl::chooseFont()
{
    if (m_design.current() < 0)
        return;
    const TemplateFont old = m_design.element(m_design.current()).font;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, dialogFont(old), this, QStringLiteral("Font"));
    if (!ok)
        return;
    m_design.setFont(templateFont(chosen, old));
    refresh();
}

void TFmUstSzabl::askThickness()
{
    if (m_design.current() < 0)
        return;
    const TemplateElement& e = m_design.element(m_design.current());
    QString answer = QString::number(e.font.size);
    if (!m_context.prompts.askText(shapeVariantName(shapeVariantOf(e.content)), QStringLiteral("Grubość linii"),
                                   answer))
        return;
    bool ok = false;
    const int pixels = answer.trimmed().toInt(&ok);
    if (!ok || pixels < 0) {
        m_context.prompts.showError(QStringLiteral("\"%1\" nie jest poprawną liczbą całkowitą").arg(answer));
        return;
    }
    m_design.setThickness(pixels);
    refresh();
}

void TFmUstSzabl::chooseLineColour()
{
    if (m_design.current() < 0)
        return;
    QColor old = colourOf(m_design.element(m_design.current()).font.colour);
    const QColor chosen = QColorDialog::getColor(old.isValid() ? old : QColor(Qt::black), this, QStringLiteral("Kolor"));
    if (!chosen.isValid())
        return;
    m_design.setLineColour(colourValue(chosen));
    refresh();
}

void TFmUstSzabl::editText()
{
    if (m_design.current() < 0)
        return;
    // The memo editor speaks "\n"; the element keeps "\r\n".
    QString text = m_design.element(m_design.current()).content;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!m_context.prompts.askMemo(QStringLiteral("Stały tekst"), QStringLiteral("Treść"), text))
        return;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    m_design.setContent(text);
    refresh();
}

void TFmUstSzabl::choosePicture()
{
    if (m_design.current() < 0)
        return;
    QList<PickEntry> rows;
    QHash<int, QString> names;
    try {
        Query q(m_context.db(), QStringLiteral("SELECT KOD, NAZWA FROM OBRAZY ORDER BY NAZWA"));
        q.exec();
        while (q.next()) {
            rows << PickEntry{q.value(1).toString(), q.value(0).toInt()};
            names.insert(q.value(0).toInt(), q.value(1).toString());
        }
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return;
    }
    // Positioned on the current picture when it still exists.
    int key = m_design.element(m_design.current()).pictureCode().value_or(0);
    if (!names.contains(key))
        key = 0;
    if (!m_context.prompts.pickRecord(QStringLiteral("Obrazy"), rows, key, false) || !names.contains(key))
        return;
    m_design.setContent(QString::number(key) + QLatin1Char(' ') + names.value(key));
    readPictures();
    refresh();
}
