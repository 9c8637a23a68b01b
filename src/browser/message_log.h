#pragma once
// The message window "Komunikaty" of long operations: a title, progress
// (description, counter, bar) and the lists "Błędy" and "Uwagi". The state
// lives here so operations and tests run without a screen; the window, when
// there is one, attaches itself as the view and follows the state.

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// What the window draws for a given height of its bottom panel: the panel
// alone while both lists are empty, otherwise three times its height with
// the remarks two thirds of the panel's height and the errors the rest.
struct MessageLogLayout {
    int windowHeight = 0;
    int errorsHeight = 0;   // 0: the errors box is collapsed
    int remarksHeight = 0;  // 0 together with errorsHeight: only the bottom panel
};

// One line of the printed lists; the first error and the first remark carry
// their list's name in bold in the first column.
struct MessageLogLine {
    QString label;
    QString text;

    bool operator==(const MessageLogLine&) const = default;
};

class MessageLog;

class MessageLogView {
public:
    virtual ~MessageLogView() = default;
    virtual void messageLogChanged(const MessageLog& log) = 0;
    // Shown, or restored when minimised.
    virtual void showMessageLog(const MessageLog& log) = 0;
    virtual void hideMessageLog() = 0;
    // Lets pending window events through during a long operation.
    virtual void processPendingEvents() = 0;
};

class MessageLog {
public:
    void attach(MessageLogView* view);

    void setTitle(const QString& title);
    QString title() const { return m_title; }

    // --- progress ---------------------------------------------------------
    // Bar to 0, description and counter empty.
    void resetProgress();
    // The description becomes `text`; with `advance` and total > 0 the bar
    // moves on by 100 / total (fractions add up, the bar shows the rounded sum).
    void step(int total, const QString& text, bool advance = true);
    QString description() const { return m_description; }
    QString counter() const { return m_counter; }
    int bar() const;

    // --- lists ------------------------------------------------------------
    void clearMessages();
    // A text already in its list is not added again; true when added.
    bool addError(const QString& text);
    bool addRemark(const QString& text);
    const QStringList& errors() const { return m_errors; }
    const QStringList& remarks() const { return m_remarks; }
    bool hasMessages() const { return !m_errors.isEmpty() || !m_remarks.isEmpty(); }

    // --- showing ----------------------------------------------------------
    // Without force the window is shown only when a list is not empty.
    void show(bool force = false);
    // As show; with no errors the remarks fill the window.
    void showRemarksOnly(bool force = false);
    // "OK" of the window.
    void hide();
    bool isShown() const { return m_shown; }
    bool remarksOnly() const { return m_remarksOnly; }

    MessageLogLayout layout(int panelHeight) const;
    // For "Podgląd list": errors first, then remarks.
    QList<MessageLogLine> printLines() const;

private:
    void changed();
    void showWith(bool force, bool remarksOnly);

    MessageLogView* m_view = nullptr;
    QString m_title;
    QString m_description;
    QString m_counter;
    double m_progress = 0;
    int m_steps = 0;
    QStringList m_errors;
    QStringList m_remarks;
    // The same texts as sets: a long run adds thousands and asks each time.
    QSet<QString> m_errorSet;
    QSet<QString> m_remarkSet;
    bool m_shown = false;
    bool m_remarksOnly = false;
};
