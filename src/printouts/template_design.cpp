#include "template_design.h"

#include "template_layout_text.h"

#include <algorithm>

namespace printouts {

namespace {

constexpr int minPosition = -30;
constexpr int maxExtent = 10000;

// Indices at or after `from` move by `by` (an element was put in below them).
void shiftIndices(QList<int>& indices, int from, int by)
{
    for (int& i : indices)
        if (i >= from)
            i += by;
}

}  // namespace

void TemplateDesign::read(const QString& layoutText)
{
    m_layout.load(layoutText);
    m_current = -1;
    m_selection.clear();
    m_undo.clear();
}

QString TemplateDesign::layoutText() const
{
    PrintTemplate written = m_layout;
    if (!columnsOffered(m_type))
        written.columns = 1;
    return writeLayout(written);
}

// --- selection --------------------------------------------------------------

QList<int> TemplateDesign::targets() const
{
    QList<int> out = m_selection;
    if (m_current >= 0 && !out.contains(m_current))
        out << m_current;
    std::sort(out.begin(), out.end());
    return out;
}

int TemplateDesign::elementAt(QPoint point) const
{
    for (int i = count() - 1; i >= 0; --i) {
        const QRect& b = m_layout.elements.at(i).box;
        // A line-thin box (height or width 0) is still hit on its edge.
        if (point.x() >= b.left() && point.x() <= b.left() + std::max(b.width(), 1) && point.y() >= b.top()
            && point.y() <= b.top() + std::max(b.height(), 1))
            return i;
    }
    return -1;
}

void TemplateDesign::click(int index, ClickMode mode)
{
    if (index < 0 || index >= count()) {
        m_current = -1;
        m_selection.clear();
        return;
    }
    if (mode == ClickMode::Ctrl) {
        if (m_current >= 0 && !m_selection.contains(m_current))
            m_selection << m_current;
        m_selection.removeAll(index);
        std::sort(m_selection.begin(), m_selection.end());
        m_current = index;
        return;
    }
    if (mode == ClickMode::Shift && m_current >= 0) {
        const QRect from = element(m_current).box;
        const QRect to = element(index).box;
        const int right = to.left() + to.width();
        const int bottom = to.top() + to.height();
        m_selection.clear();
        for (int i = 0; i < count(); ++i) {
            const QRect& b = element(i).box;
            if (i != m_current && b.left() >= from.left() && b.top() >= from.top() && b.left() < right
                && b.top() < bottom)
                m_selection << i;
        }
        return;
    }
    m_current = index;
    m_selection.clear();
}

void TemplateDesign::setCurrent(int index)
{
    click(index, ClickMode::Plain);
}

// --- boxes ------------------------------------------------------------------

QRect TemplateDesign::clamped(const QRect& box)
{
    return QRect(std::clamp(box.left(), minPosition, maxExtent), std::clamp(box.top(), minPosition, maxExtent),
                 std::clamp(box.width(), 0, maxExtent), std::clamp(box.height(), 0, maxExtent));
}

void TemplateDesign::setBox(int index, const QRect& box)
{
    if (index < 0 || index >= count())
        return;
    const QRect b = clamped(box);
    if (b == element(index).box)
        return;
    remember();
    m_layout.elements[index].box = b;
    commit();
}

int TemplateDesign::boxField(BoxField field) const
{
    if (m_current < 0)
        return 0;
    const QRect& b = element(m_current).box;
    switch (field) {
    case BoxField::Left: return b.left();
    case BoxField::Top: return b.top();
    case BoxField::Width: return b.width();
    case BoxField::Height: return b.height();
    }
    return 0;
}

void TemplateDesign::setBoxField(BoxField field, int value)
{
    if (m_current < 0)
        return;
    QRect b = element(m_current).box;
    switch (field) {
    case BoxField::Left: b.moveLeft(value); break;
    case BoxField::Top: b.moveTop(value); break;
    case BoxField::Width: b.setWidth(value); break;
    case BoxField::Height: b.setHeight(value); break;
    }
    setBox(m_current, b);
}

void TemplateDesign::moveTargets(int dx, int dy)
{
    const QList<int> t = targets();
    if (t.isEmpty() || (dx == 0 && dy == 0))
        return;
    remember();
    for (int i : t)
        m_layout.elements[i].box = clamped(element(i).box.translated(dx, dy));
    commit();
}

void TemplateDesign::duplicateTargets(int dx, int dy)
{
    const QList<int> t = targets();
    if (t.isEmpty())
        return;
    remember();
    QList<TemplateElement> copies;
    for (int i : t) {
        TemplateElement e = element(i);
        e.box = clamped(e.box.translated(dx, dy));
        copies << e;
    }
    const int oldCurrent = m_current;
    QList<int> added;
    for (const TemplateElement& copy : copies) {
        const int at = m_layout.add(copy);
        if (at < count() - 1)  // put in beneath: the copies made so far move up
            shiftIndices(added, at, 1);
        added << at;
    }
    m_current = oldCurrent >= 0 ? added.at(t.indexOf(oldCurrent)) : -1;
    m_selection.clear();
    for (int i : added)
        if (i != m_current)
            m_selection << i;
    std::sort(m_selection.begin(), m_selection.end());
    commit();
}

void TemplateDesign::deleteTargets()
{
    const QList<int> t = targets();
    if (t.isEmpty())
        return;
    remember();
    for (int k = int(t.size()) - 1; k >= 0; --k)
        m_layout.elements.removeAt(t.at(k));
    m_current = -1;
    m_selection.clear();
    commit();
}

void TemplateDesign::deleteCurrent()
{
    if (m_current < 0)
        return;
    remember();
    const int gone = m_current;
    m_layout.elements.removeAt(gone);
    m_current = -1;
    m_selection.removeAll(gone);
    shiftIndices(m_selection, gone + 1, -1);
    commit();
}

// --- edits ------------------------------------------------------------------

int TemplateDesign::create(ElementKind kind, QPoint topLeft)
{
    remember();
    TemplateElement e = TemplateElement::created(kind, topLeft);
    e.box = clamped(e.box);
    const int at = m_layout.add(e);
    m_current = at;
    m_selection.clear();
    commit();
    return at;
}

TemplateElement* TemplateDesign::currentElement()
{
    return m_current >= 0 ? &m_layout.elements[m_current] : nullptr;
}

void TemplateDesign::setAlignment(TextAlignment alignment)
{
    TemplateElement* e = currentElement();
    if (!e || e->alignment == alignment)
        return;
    remember();
    currentElement()->alignment = alignment;
    commit();
}

void TemplateDesign::setFont(const TemplateFont& font)
{
    TemplateElement* e = currentElement();
    if (!e || e->font == font)
        return;
    remember();
    TemplateFont f = font;
    // Only a barcode field keeps its font's character set.
    if (!currentElement()->keepsOwnCharset())
        f.charset = eastEuropeanCharset;
    currentElement()->font = f;
    commit();
}

void TemplateDesign::setContent(const QString& content)
{
    TemplateElement* e = currentElement();
    if (!e || e->content == content)
        return;
    remember();
    currentElement()->content = content;
    commit();
}

void TemplateDesign::setThickness(int pixels)
{
    TemplateElement* e = currentElement();
    if (!e || e->font.size == pixels)
        return;
    remember();
    currentElement()->font.size = pixels;
    commit();
}

void TemplateDesign::setLineColour(qint32 colour)
{
    TemplateElement* e = currentElement();
    if (!e || e->font.colour == colour)
        return;
    remember();
    currentElement()->font.colour = colour;
    commit();
}

// --- page -------------------------------------------------------------------

void TemplateDesign::setLandscape(bool landscape)
{
    if (m_layout.landscape == landscape)
        return;
    remember();
    m_layout.landscape = landscape;
    commit();
}

bool TemplateDesign::setColumnsAnswer(const QString& answer)
{
    bool ok = false;
    const qlonglong n = answer.trimmed().toLongLong(&ok);
    if (!ok)
        return false;
    const int columns = std::max(1, int(std::abs(n) % 10));
    if (columns != m_layout.columns) {
        remember();
        m_layout.columns = columns;
        commit();
    }
    return true;
}

// --- layout -----------------------------------------------------------------

void TemplateDesign::paste(const QString& layoutText)
{
    PrintTemplate pasted = readLayout(layoutText);  // throws before anything changes
    remember();
    m_layout = pasted;
    m_current = -1;
    m_selection.clear();
    commit();
}

void TemplateDesign::remember()
{
    if (m_inGesture && m_gestureRemembered)
        return;
    m_gestureRemembered = m_inGesture;
    m_undo.append({m_layout, m_current, m_selection});
    if (m_undo.size() > undoDepth)
        m_undo.removeFirst();
}

void TemplateDesign::commit()
{
    if (changed)
        changed(layoutText());
}

void TemplateDesign::undo()
{
    if (m_undo.isEmpty())
        return;
    const Snapshot s = m_undo.takeLast();
    m_layout = s.layout;
    m_current = s.current;
    m_selection = s.selection;
    commit();
}

void TemplateDesign::beginGesture()
{
    m_inGesture = true;
    m_gestureRemembered = false;
}

void TemplateDesign::endGesture()
{
    m_inGesture = false;
    m_gestureRemembered = false;
}

}  // namespace printouts
