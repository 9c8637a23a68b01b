#pragma once
// The print templates register (SZABLONY): the type through the KODY
// "szablo" names, the name, and the command that opens the designer on the
// current template.

#include "browser/module.h"

#include <functional>

class Table;

// Opens the designer on the current row of `templates`; the window is the
// desktop's, so the register is handed it.
using TemplateDesigner = std::function<void(RunContext& context, Table& templates)>;

class TDMSzablony : public TDMDane {
    Q_OBJECT
public:
    // Without a designer the "&Układ szablonu" command is not offered.
    explicit TDMSzablony(RunContext& context, TemplateDesigner designer = {}, QObject* parent = nullptr);

    DataSet& templates() const { return *dataSet(QStringLiteral("Szablony")); }

    static QString layoutCommand() { return QStringLiteral("Ukadszablonu1"); }
    // The lookup field showing the type's name.
    static QString typeNameField() { return QStringLiteral("TYPNAZWA"); }
};
