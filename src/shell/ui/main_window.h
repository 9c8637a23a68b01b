#pragma once
// The main window of the program. For now it carries the title and shows
// which store is open; its menus come with the commands of the areas.

#include <QMainWindow>

class TDMBaza;

class TFmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFmMain(QWidget* parent = nullptr);
    void attach(TDMBaza* baza);

private:
    TDMBaza* m_baza = nullptr;
};
