#include "rights_level_dialog.h"

#include "shell/rights_levels.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TDlPrawa::TDlPrawa(const QString& title, bool fieldLevels, int level, QWidget* parent)
    : QDialog(parent), m_fieldLevels(fieldLevels), m_levels(new QButtonGroup(this))
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("DlPrawa"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("Lista praw"), this);
    auto* boxLayout = new QVBoxLayout(box);
    const QStringList& captions = fieldLevels ? rights_levels::fieldCaptions() : rights_levels::tableCaptions();
    const int preset = fieldLevels ? rights_levels::fieldChoiceOfLevel(level) : level;
    for (int i = 0; i < captions.size(); ++i) {
        auto* radio = new QRadioButton(captions[i], box);
        radio->setChecked(i == preset);
        m_levels->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    layout->addWidget(box);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    m_ok->setEnabled(false);  // a level must be clicked, even the preset one
    m_ok->setDefault(true);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_levels, &QButtonGroup::idClicked, m_ok, [this] { m_ok->setEnabled(true); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TDlPrawa::level() const
{
    const int choice = m_levels->checkedId();
    if (choice < 0)
        return -1;
    return m_fieldLevels ? rights_levels::fieldLevelOfChoice(choice) : choice;
}

bool TDlPrawa::ask(const QString& title, bool fieldLevels, int& level)
{
    TDlPrawa dialog(title, fieldLevels, level, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted || dialog.level() < 0)
        return false;
    level = dialog.level();
    return true;
}
