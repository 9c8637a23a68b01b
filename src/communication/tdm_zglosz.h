#pragma once
// "Zgłoszenia": requests concerning one child (ZGLOSZ), received by a user
// and dealt with by a user, with the account of what was done. Open
// requests (no "Data załatwienia") come first, in order of receipt.
//
// The module shows all requests, the requests of the child the children
// register stands on (a detail of its list), or one request (opened from
// the reminders).

#include "browser/module.h"

class TDMZglosz : public TDMDane {
    Q_OBJECT
public:
    // `children`: the children register's list, when the requests follow it.
    explicit TDMZglosz(RunContext& context, DataSet* children = nullptr, QObject* parent = nullptr);

    DataSet& requests() const { return *dataSet(QStringLiteral("Zglosz")); }
    bool followsChild() const { return m_children != nullptr; }
    // Only the request ZGLID is shown; the window is tied to its child.
    void restrictTo(int requestId);

    // The child a tied window's printout is restricted to: that of the
    // current request (or the children register's current child when there
    // is none); 0 when the window is not tied to a child.
    int tiedChild() const;
    void openReport();  // "&Raport zgłoszeń"

private:
    DataSet* m_children = nullptr;
    bool m_tied = false;
};
