#include "radio_dialog.h"

#include "browser/picker_logic.h"
#include "dialog_parts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

TDlRadio::TDlRadio(const RadioRequest& request, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(request.title);
    const picker::RadioSetup setup =
        picker::radioSetup(int(request.choices.size()), request.preset, int(request.lines.size()));
    auto* layout = new QVBoxLayout(this);

    auto* groupBox = new QGroupBox(request.groupCaption, this);
    groupBox->setObjectName(QStringLiteral("Grupa"));
    auto* grid = new QGridLayout(groupBox);
    m_group = new QButtonGroup(this);
    const int perColumn = int(request.choices.size() + setup.columns - 1) / setup.columns;
    for (int i = 0; i < request.choices.size(); ++i) {
        auto* radio = new QRadioButton(request.choices.at(i), groupBox);
        m_group->addButton(radio, i + 1);
        grid->addWidget(radio, i % perColumn, i / perColumn);
        if (i == setup.checked)
            radio->setChecked(true);
    }
    groupBox->setVisible(!request.choices.isEmpty());
    layout->addWidget(groupBox);

    auto* label = new QLabel(request.label, this);
    label->setVisible(!request.label.isEmpty());
    m_box = new QComboBox(this);
    m_box->setObjectName(QStringLiteral("Wybor"));
    m_box->addItems(request.lines);
    m_box->setCurrentIndex(setup.lineIndex);
    label->setBuddy(m_box);
    layout->addWidget(label);
    layout->addWidget(m_box);
    layout->addLayout(dialog_parts::okCancelRow(this));
    setMinimumWidth(340);
    adjustSize();
}

int TDlRadio::choice() const
{
    return std::max(0, m_group->checkedId());
}

QString TDlRadio::boxText() const
{
    return m_box->currentText();
}
