#include "main_window.h"

#include "store/tdm_baza.h"

#include <QLabel>
#include <QStatusBar>

TFmMain::TFmMain(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Lunawa"));
    resize(1024, 700);
    auto* centre = new QLabel(QStringLiteral("Lunawa"), this);
    centre->setAlignment(Qt::AlignCenter);
    QFont f = centre->font();
    f.setPointSize(28);
    centre->setFont(f);
    setCentralWidget(centre);
}

void TFmMain::attach(TDMBaza* baza)
{
    m_baza = baza;
    statusBar()->showMessage(QStringLiteral("Baza danych: %1").arg(baza->database().location().describe()));
}
