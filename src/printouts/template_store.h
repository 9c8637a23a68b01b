#pragma once
// Print templates in the store (SZABLONY) as whole records: listed, found
// by name, and imported from a layout text after it has been read.

#include "print_template.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Database;

namespace printouts {

struct StoredTemplate {
    int id = 0;
    QString type;  // SZABLONY.TYP as stored
    QString name;
    QString layoutText;
};

// Every template, by ID; with the connection's rights.
QList<StoredTemplate> storedTemplates(Database& db);

// The templates of that name (and type, when given), by ID.
QList<StoredTemplate> templatesNamed(Database& db, const QString& name, std::optional<TemplateType> type = {});

struct ImportResult {
    int id = 0;
    bool replaced = false;  // an existing template of that name and type got the layout
};

// Stores the layout as the template `name` of `type`: the first existing
// template of that name and type gets it, otherwise a new one is added. The
// text is read first: a malformed one throws its Error and nothing is
// written. Needs the insert right on SZABLONY ("Brak dostępu").
ImportResult importTemplate(Database& db, TemplateType type, const QString& name, const QString& layoutText);

// The text of a layout file: UTF-8 (a byte-order mark is dropped), or code
// page 1250 when the bytes are not UTF-8; line ends become CR LF.
QString layoutFileText(const QByteArray& bytes);

// The width of SZABLONY.NAZWA.
constexpr int templateNameWidth = 30;

}  // namespace printouts
