#pragma once
// "Projektowanie szablonu": the designer of one print template, opened
// modally on the current record of the templates register. Every change is
// written into the record's DANE at once (the record enters edit state);
// "Zapisz" posts it, closing leaves posting to the register.
//
// The window holds the tools, the four box fields, the "Ustawienia" menu
// and the element popup (tfm_ust_szabl_popup.cpp); the sheet paints and
// takes the mouse; the editing itself is printouts::TemplateDesign.

#include "printouts/template_design.h"

#include <QDialog>
#include <QHash>
#include <QImage>

class QAction;
class QLabel;
class QMenu;
class QSpinBox;
class QWidget;
class Table;
class TemplateSheet;
struct RunContext;

class TFmUstSzabl : public QDialog {
    Q_OBJECT
public:
    TFmUstSzabl(RunContext& context, Table& templates, QWidget* parent = nullptr);

    printouts::TemplateDesign& design() { return m_design; }
    TemplateSheet* sheet() const { return m_sheet; }
    // The toolbar or menu action with this text ("Kształt", "Wklej", …).
    QAction* action(const QString& text) const;
    QSpinBox* boxField(printouts::TemplateDesign::BoxField field) const;
    // The element popup for the current element, as a right click shows it.
    QMenu* elementMenu();

    // The commands.
    void copyLayout();
    void pasteLayout();
    void save();
    void moveDialog();
    void duplicateDialog();
    void deleteChosen();
    void undo();
    void toggleLandscape();
    void askColumns();
    // The template with the data of a child chosen from the register (the
    // first time only), in the preview.
    void previewWithChild();

    // The popup's commands (tfm_ust_szabl_popup.cpp).
    void chooseFont();
    void askThickness();
    void chooseLineColour();
    void editText();
    void choosePicture();

private:
    void buildTools();
    QWidget* buildBoxPanel();
    void write(const QString& layoutText);
    void refresh();
    void readPictures();
    QMenu* makeElementMenu();

    RunContext& m_context;
    Table& m_templates;
    printouts::TemplateDesign m_design;
    TemplateSheet* m_sheet = nullptr;
    QWidget* m_boxPanel = nullptr;
    QSpinBox* m_boxFields[4] = {};
    QAction* m_landscape = nullptr;
    QAction* m_columns = nullptr;
    QAction* m_undo = nullptr;
    QList<QAction*> m_actions;
    QMenu* m_popup = nullptr;
    QHash<int, QImage> m_pictures;
    bool m_refreshing = false;
    int m_sampleChild = 0;
};

namespace printouts {

// The register's "&Układ szablonu": the designer on the current template.
void designTemplateInWindow(RunContext& context, Table& templates);

}  // namespace printouts
