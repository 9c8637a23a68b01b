#include "dialog_parts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace dialog_parts {

QHBoxLayout* okCancelRow(QDialog* dialog, QPushButton** ok)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* okButton = new QPushButton(QStringLiteral("&OK"), dialog);
    okButton->setObjectName(QStringLiteral("OK"));
    okButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), dialog);
    cancel->setObjectName(QStringLiteral("Anuluj"));
    QObject::connect(okButton, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(okButton);
    row->addWidget(cancel);
    if (ok)
        *ok = okButton;
    return row;
}

}  // namespace dialog_parts
