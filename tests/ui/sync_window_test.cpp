#include "support/browser_run.h"
#include "support/web_service_double.h"

#include "sync/ui/tfm_synchr.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QCheckBox* box(QWidget& w, const QString& text)
{
    for (QCheckBox* b : w.findChildren<QCheckBox*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

}  // namespace

TEST(SyncWindow, StartRunsTheModeStopEndsItAndTheConfigurationIsEdited)
{
    BrowserRun run;
    WebServiceDouble service;
    ASSERT_TRUE(service.listen());
    service.setAdministrator(run.context->institution.clientNumber, QStringLiteral("tajne"));

    TFmSynchr full(*run.context, TFmSynchr::Full, service.url());
    EXPECT_EQ(full.findChild<QLabel*>(QStringLiteral("action"))->text(),
              QStringLiteral("Naciśnij \"Start\" aby rozpocząć proces"));
    full.setPassword(QStringLiteral("tajne"), false);
    full.start();
    EXPECT_TRUE(full.succeeded());
    EXPECT_EQ(service.statusHistory, (QStringList{"1", "2", "0"}));
    EXPECT_EQ(full.findChild<QLabel*>(QStringLiteral("action"))->text(), QStringLiteral("Koniec operacji"));

    // Stop while a request waits: the window stays with Start again.
    TFmSynchr stopped(*run.context, TFmSynchr::Full, service.url());
    stopped.setPassword(QStringLiteral("tajne"), false);
    service.injectFault(WebServiceDouble::Fault::NoReply, "akcja=Ustawienie&select=1");
    QPushButton* button = stopped.findChild<QPushButton*>();
    for (QPushButton* b : stopped.findChildren<QPushButton*>())
        if (b->text() == QLatin1String("Start"))
            button = b;
    QTimer::singleShot(200, button, [button] {
        EXPECT_EQ(button->text(), QStringLiteral("Stop"));
        button->click();
    });
    stopped.start();
    EXPECT_FALSE(stopped.succeeded());
    EXPECT_EQ(button->text(), QStringLiteral("Start"));

    TFmSynchr config(*run.context, TFmSynchr::WriteConfiguration, service.url());
    config.setPassword(QStringLiteral("tajne"), false);
    config.setConfiguration(QStringLiteral("1100"));
    auto* items = config.findChild<QListWidget*>();
    items->setCurrentRow(3);  // "Potwierdzenia wpłat" lets parents add entries
    ASSERT_TRUE(box(config, QStringLiteral("Aktywne")));
    box(config, QStringLiteral("Aktywne"))->click();
    box(config, QStringLiteral("Dopisywanie pozycji"))->click();
    items->setCurrentRow(1);
    box(config, QStringLiteral("Aktywne"))->click();
    config.start();
    EXPECT_TRUE(config.succeeded());
    EXPECT_EQ(service.configuration, QStringLiteral("1002"));
}
