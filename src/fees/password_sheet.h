#pragma once
// The sheet of internet passwords given to marked children: one band per
// child with the introduction and the child's block, a line above it,
// optionally each on its own page.

#include "printouts/report_job.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace fees {

// «caption»\r\nIdentyfikator: «client»-«child»\r\nHasło: «password»\r\n\r\n
QString passwordBlock(const QString& caption, int clientNumber, int child, const QString& password);

// The blocks of a buffer of passwordBlock texts, each without its closing
// blank line.
QStringList passwordBlocks(const QString& buffer);

struct PasswordSheet {
    QString title;
    QString introduction;  // printed before every block; empty: none
    QStringList blocks;
    bool pagePerChild = false;
    QString footerLine;
};

std::unique_ptr<report::Job> makePasswordSheet(const PasswordSheet& sheet);

}  // namespace fees
