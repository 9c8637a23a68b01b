#pragma once
// The template being drawn in the designer, without a screen: the layout,
// which element is current and which are selected, and every edit the
// window offers (create, move, resize, duplicate, delete, element
// properties, orientation, columns, paste), each undoable. The window only
// paints this state and forwards the user's input; every change is told to
// `changed` with the new layout text, which the window writes into DANE.
//
//   selection   click / Ctrl-click / Shift-click rules, the element under a point
//   boxes       setBox, the four number fields, moving by arrows and dialogs
//   edits       create, duplicate, delete, properties of the current element
//   page        landscape, columns ("Kolumny" prompt answer)
//   layout      paste (a malformed text changes nothing), undo

#include "print_template.h"

#include <QList>
#include <QString>

#include <functional>

namespace printouts {

class TemplateDesign {
public:
    explicit TemplateDesign(TemplateType type) : m_type(type) {}
    // Reads the stored layout when the designer opens: nothing is told or
    // remembered for undo. A malformed text throws Error and leaves the
    // design as it was (empty), so nothing is written until the user draws.
    void read(const QString& layoutText);

    TemplateType type() const { return m_type; }
    const PrintTemplate& layout() const { return m_layout; }
    const TemplateElement& element(int index) const { return m_layout.elements.at(index); }
    int count() const { return int(m_layout.elements.size()); }
    QString layoutText() const;

    // Called after every change with the new layout text.
    std::function<void(const QString&)> changed;

    // --- selection ----------------------------------------------------------
    int current() const { return m_current; }  // -1: none
    // Selected besides the current one, in stacking order.
    const QList<int>& selection() const { return m_selection; }
    bool isSelected(int index) const { return m_selection.contains(index); }
    // What the move, duplicate and delete commands act on: the selected
    // elements and the current one, in stacking order.
    QList<int> targets() const;
    // The topmost element whose box holds the point; -1 for none.
    int elementAt(QPoint point) const;

    enum class ClickMode { Plain, Ctrl, Shift };
    // Plain: the element becomes current, the selection is cleared. Ctrl:
    // the element that was current joins the selection and the clicked one
    // becomes current. Shift: selects every element whose top-left corner
    // lies at or right of and at or below the current element's and
    // strictly left of the clicked element's right edge and strictly above
    // its bottom edge. A click beside every element (-1) clears both.
    void click(int index, ClickMode mode);
    void setCurrent(int index);  // as a plain click

    // --- boxes --------------------------------------------------------------
    // Left and top are kept within -30..10000, width and height within 0..10000.
    static QRect clamped(const QRect& box);
    void setBox(int index, const QRect& box);
    enum class BoxField { Left, Top, Width, Height };
    int boxField(BoxField field) const;  // of the current element
    void setBoxField(BoxField field, int value);
    // Moves the targets by the shift.
    void moveTargets(int dx, int dy);
    // Copies of the targets shifted by (dx, dy) with the same content, size,
    // colours, alignment and font; the copies become the selection (the
    // copy of the current element the current one).
    void duplicateTargets(int dx, int dy);
    // Deletes the targets; nothing is current afterwards.
    void deleteTargets();
    void deleteCurrent();

    // Snaps a coordinate to the designer's grid.
    static constexpr int grid = 4;
    static int snapped(int value) { return value >= 0 ? (value + grid / 2) / grid * grid : -snapped(-value); }

    // --- edits --------------------------------------------------------------
    // A new element of the kind at the point (150 x 17); it becomes current.
    int create(ElementKind kind, QPoint topLeft);
    // Properties of the current element; nothing happens without one or
    // when the value is already so.
    void setAlignment(TextAlignment alignment);
    void setFont(const TemplateFont& font);
    void setContent(const QString& content);  // text, data field, shape variant, picture
    void setThickness(int pixels);            // shapes: stored as the font size
    void setLineColour(qint32 colour);        // shapes: stored as the font colour

    // --- page ---------------------------------------------------------------
    void setLandscape(bool landscape);
    // The answer to "Podaj liczbę": the number modulo 10 (12 gives 2, 10 one
    // column); an answer that is not a number changes nothing (false).
    bool setColumnsAnswer(const QString& answer);

    // --- layout -------------------------------------------------------------
    // Replaces the layout with the text; a malformed text throws Error and
    // leaves everything as it was.
    void paste(const QString& layoutText);

    // Undo of the last changes; a run of changes between beginGesture and
    // endGesture (a mouse drag) is undone as one.
    bool canUndo() const { return !m_undo.isEmpty(); }
    void undo();
    void beginGesture();
    void endGesture();
    static constexpr int undoDepth = 100;

private:
    struct Snapshot {
        PrintTemplate layout;
        int current = -1;
        QList<int> selection;
    };
    TemplateElement* currentElement();
    // Before a change: remembers the state for undo (once per gesture).
    void remember();
    // After a change: tells the new text.
    void commit();

    TemplateType m_type;
    PrintTemplate m_layout;
    int m_current = -1;
    QList<int> m_selection;
    QList<Snapshot> m_undo;
    bool m_inGesture = false;
    bool m_gestureRemembered = false;
};

}  // namespace printouts
