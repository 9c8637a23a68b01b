#include "browser/key_value_settings.h"
#include "browser/ui/tfm_filtr.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <gtest/gtest.h>

namespace {

QStringList names(Table& t)
{
    QStringList out;
    for (int r = 0; r < t.rowCount(); ++r)
        out << t.valueAt(r, "NAZWA").toString();
    return out;
}

// Runs `steps` on the dialog once "&Filtruj" has opened it modally.
void filterWith(TFmKartot* w, std::function<void(TFmFiltr&)> steps)
{
    QTimer::singleShot(0, w, [w, steps] {
        TFmFiltr* d = w->filterDialog();
        if (!d || !d->isVisible()) {
            ADD_FAILURE() << "the filter dialog is not shown";
            if (d)
                d->reject();
            return;
        }
        steps(*d);
        if (d->isVisible())
            d->reject();
    });
    w->action("&Filtruj")->trigger();
}

QPushButton* button(TFmFiltr& d, const QString& text)
{
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

}  // namespace

TEST(FilterDialog, EditingAndExecutingFiltersTheRowsAndCancelDropsTheEdits)
{
    MemorySettings settings;
    UiWindowOpener windows(settings);
    BrowserRun run(&windows);
    windows.setContext(run.context.get());
    run.seed({{"Motylki", 1}, {"Żabki", 2}, {"Biedronki", 3}});
    run.module->klasy.fields[2].role = roles::filter();  // KOLEJ gets a quick filter
    windows.browse(*run.module, run.module->klasy, "Grupy", nullptr);
    TFmKartot* w = windows.last();
    w->show();
    Table& t = w->table();
    ASSERT_EQ(t.rowCount(), 3);

    // "Kolejność" 2 to 3 typed into its editors, then "&Wykonaj".
    filterWith(w, [](TFmFiltr& d) {
        EXPECT_EQ(d.windowTitle(), "Ustawienie filtru danych");
        ASSERT_EQ(d.list()->topLevelItemCount(), 3);  // KOD, NAZWA, KOLEJ
        d.selectEntry(2);
        auto* from = d.findChild<QSpinBox*>("CalkowitaOd");
        auto* to = d.findChild<QSpinBox*>("CalkowitaDo");
        ASSERT_TRUE(from && to && from->isVisible());
        from->setValue(2);
        to->setValue(3);
        EXPECT_EQ(d.list()->topLevelItem(2)->checkState(0), Qt::Checked);  // switched on by editing
        button(d, "&Wykonaj")->click();
    });
    EXPECT_EQ(names(t), (QStringList{"Żabki", "Biedronki"}));
    // The quick filter shows the range as grayed.
    EXPECT_EQ(w->findChild<QCheckBox*>("FiltrWlKOLEJ")->checkState(), Qt::PartiallyChecked);

    // Another range and a text bound, then "&Anuluj": nothing changes and
    // the dialog comes back with the applied values.
    filterWith(w, [](TFmFiltr& d) {
        d.selectEntry(1);
        auto* text = d.findChild<QLineEdit*>("TekstOd");
        ASSERT_TRUE(text && text->isVisible());
        text->setFocus();
        QTest::keyClicks(text, "C");
        d.selectEntry(2);
        d.findChild<QSpinBox*>("CalkowitaOd")->setValue(1);
        EXPECT_EQ(d.list()->topLevelItem(1)->checkState(0), Qt::Checked);
        button(d, "&Anuluj")->click();
    });
    EXPECT_EQ(names(t), (QStringList{"Żabki", "Biedronki"}));
    filterWith(w, [](TFmFiltr& d) {
        EXPECT_EQ(d.list()->topLevelItem(1)->checkState(0), Qt::Unchecked);
        EXPECT_EQ(d.list()->topLevelItem(2)->text(2), "2");
        d.selectEntry(2);
        EXPECT_EQ(d.findChild<QSpinBox*>("CalkowitaOd")->value(), 2);
        // Everything off and executed: all rows again.
        d.selectEntry(0);
        for (int i = 0; i < d.list()->topLevelItemCount(); ++i)
            d.list()->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
        button(d, "&Wykonaj")->click();
    });
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(w->findChild<QCheckBox*>("FiltrWlKOLEJ")->checkState(), Qt::Unchecked);
    delete w;
}
