#pragma once
// The calculation methods register (SPOSOBY): a name and a definition per
// method. The definition is edited only through the definition editor; a
// method still assigned to a child's or a component's period cannot be
// deleted.

#include "browser/module.h"
#include "fees/definition_tokens.h"

#include <functional>

class Database;

// Opens the definition editor titled `title` on `definition`; true on OK,
// with `definition` then holding the new text.
using DefinitionEditor = std::function<bool(RunContext&, const QString& title, QString& definition)>;

class TDMSposoby : public TDMDane {
    Q_OBJECT
public:
    // Without an editor the description command is not offered.
    explicit TDMSposoby(RunContext& context, DefinitionEditor editor = {}, QObject* parent = nullptr);

    DataSet& methods() const { return *dataSet(QStringLiteral("Sposoby")); }

    // "Opis &definicji sposobu liczenia": edits the current method's definition.
    void describeDefinition();
    // "&Sprawdź gdzie występuje".
    void showUsage();

    // The lines naming where the method is assigned ("\r\n- składnikach opłat
    // dzieci", "\r\n- składnikach opłat"); empty when nowhere.
    static QString usageLines(Database& db, int method);
    static QString refusedDeletionMessage(const QString& lines);
    // The extra classes the definition editor lists, in their KOLEJ order.
    static QList<fees::ExtraClass> extraClasses(Database& db);

private:
    DefinitionEditor m_editor;
};
