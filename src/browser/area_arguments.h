#pragma once
// The arguments one area passes to another it opens, and the names of the
// areas opened for one child or one month. The children register opens the
// attendance of the current child without knowing the attendance code:
//
//   areas.open(area::childAttendance(), context,
//              area::forChild(kod, &children, this, command, title));
//
// The opened area makes its module a child of `owner` (so it goes with the
// window that opened it), links its list to `master` (so it follows the
// current row there) and passes `command` to browse() (checked while open).

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVariantMap>

struct Command;
struct DataSet;

Q_DECLARE_OPAQUE_POINTER(Command*)
Q_DECLARE_OPAQUE_POINTER(DataSet*)
Q_DECLARE_METATYPE(Command*)
Q_DECLARE_METATYPE(DataSet*)

namespace area {

// --- keys -------------------------------------------------------------------
inline QString titleKey() { return QStringLiteral("title"); }
inline QString childKey() { return QStringLiteral("OSOBA"); }  // int, DZIECI.KOD
inline QString monthKey() { return QStringLiteral("KOD"); }    // int, MIESIACE.KOD
inline QString typeKey() { return QStringLiteral("TYP"); }     // QString, NALICZ.TYP
inline QString masterKey() { return QStringLiteral("master"); }
inline QString ownerKey() { return QStringLiteral("owner"); }
inline QString commandKey() { return QStringLiteral("command"); }

// --- areas opened by other areas ---------------------------------------------
// The attendance window of one child, following `master` (the children list).
inline QString childAttendance() { return QStringLiteral("ObecnosciDziecka"); }
// The settlement months of one child, following `master`.
inline QString childSettlements() { return QStringLiteral("RozrachunkiDziecka"); }
// The charge lines of a month (monthKey, typeKey "0"/"1", childKey when one child).
inline QString chargeLines() { return QStringLiteral("Naliczenia"); }
// The invoices of a month (monthKey, childKey when one child).
inline QString invoices() { return QStringLiteral("Faktury"); }

// --- reading and writing -------------------------------------------------------
inline QVariantMap forChild(int child, DataSet* master, QObject* owner, Command* command, const QString& title)
{
    return {{childKey(), child},
            {masterKey(), QVariant::fromValue(master)},
            {ownerKey(), QVariant::fromValue(owner)},
            {commandKey(), QVariant::fromValue(command)},
            {titleKey(), title}};
}

template <class T> T* pointer(const QVariantMap& arguments, const QString& key)
{
    return arguments.value(key).template value<T*>();
}
inline DataSet* master(const QVariantMap& a) { return pointer<DataSet>(a, masterKey()); }
inline QObject* owner(const QVariantMap& a) { return pointer<QObject>(a, ownerKey()); }
inline Command* command(const QVariantMap& a) { return pointer<Command>(a, commandKey()); }
// 0 when absent.
inline int child(const QVariantMap& a) { return a.value(childKey()).toInt(); }

}  // namespace area
