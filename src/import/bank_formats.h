#pragma once
// Ready import formats for the statements of the common Polish banks,
// offered by "Wstaw format banku…" of the configuration window and printed
// by `lunawactl import-format`. Each is a payments section written in the
// import language, inserted into the configuration text as it stands.

#include <QList>
#include <QString>

namespace import {

struct BankFormat {
    QString key;     // "mbank-csv": the name on the command line
    QString title;   // "mBank – historia operacji (CSV)"
    QString lines;   // the section's key lines, without its header
};

const QList<BankFormat>& bankFormats();
// By key or title, letter case ignored; nullptr when none has the name.
const BankFormat* bankFormat(const QString& name);

// The whole section: "[IMPORT WPŁAT]" and the lines.
QString bankSection(const BankFormat& format);

// Whether the configuration text has a section headed "[" + section + "]".
bool hasSection(const QString& configurationText, const QString& section);
// The text with that section replaced by `sectionText` (its header line
// included), or with `sectionText` appended when there is none.
QString withSection(const QString& configurationText, const QString& section, const QString& sectionText);

QString insertBankFormatTitle();  // "Wstaw format banku"

}  // namespace import
