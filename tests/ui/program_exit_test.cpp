// The whole program on the demo store: every area's window opened from the
// main menu and closed again, then the main window closed, which ends the
// run. Built with the sanitizers too, where a window or module deleted
// twice, or used after its owner went, stops the run.

#include "shell/demo_store.h"
#include "shell/main_commands.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Answers every modal question the way a user leaving quickly would: "Nie"
// where a message asks, otherwise the dialog is put away.
class ModalAnswerer {
public:
    ModalAnswerer()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                questions << box->text();
                for (QAbstractButton* b : box->buttons())
                    if (b->text().remove(QLatin1Char('&')) == QLatin1String("Nie")) {
                        b->click();
                        return;
                    }
            }
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        });
        m_timer.start();
    }
    QStringList questions;

private:
    QTimer m_timer;
};

TEST(ProgramExit, EveryAreaWindowOpensAndClosesAndTheRunEndsCleanly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    StoreLocation location;
    location.folder = dir.path();
    demo::createDemoStore(location);

    ModalAnswerer answerer;
    {
        Program program({QStringLiteral("admin"), QStringLiteral("tebov")}, location);
        TFmMain& window = program.mainWindow();
        QSignalSpy started(&window, &TFmMain::started);
        QSignalSpy ended(&window, &TFmMain::runEnded);
        window.show();
        ASSERT_TRUE(started.wait(10000));
        ASSERT_TRUE(started.first().first().toBool());
        // The delivered password is still the administrator's: the About box
        // names it and the login suggested changing it ("Nie" above).
        EXPECT_TRUE(window.about()->text().contains(QStringLiteral("Hasło: tebov")));
        EXPECT_TRUE(answerer.questions.join('\n').contains(MainController::deliveredPasswordQuestion()));

        int opened = 0;
        for (const mainmenu::CommandDef& def : mainmenu::commands()) {
            if (def.action != mainmenu::Action::Area || !window.controller()->isShown(def.name))
                continue;
            window.controller()->run(def.name);
            QTest::qWait(30);
            if (window.controller()->isChecked(def.name)) {
                ++opened;
                window.controller()->run(def.name);  // chosen again, it closes its window
                QTest::qWait(30);
                EXPECT_FALSE(window.controller()->isChecked(def.name)) << def.name.toStdString();
            }
        }
        EXPECT_GE(opened, 10);

        // Windows left open go first when the main window closes.
        window.controller()->run(QStringLiteral("Dzieci1"));
        window.controller()->run(QStringLiteral("Media1"));
        QTest::qWait(30);
        answerer.questions.clear();
        EXPECT_TRUE(window.close());
        EXPECT_EQ(ended.size(), 1);
        EXPECT_TRUE(answerer.questions.contains(MainController::closeQuestion()));
        EXPECT_FALSE(window.controller()->isChecked(QStringLiteral("Dzieci1")));
    }
    // The store was closed: SQLite folded its journal back into the file.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("lunawa.db-wal"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("lunawa.db-shm"))));
}

// The store opens once the window is up: a store that cannot be opened
// ends the run with its message, whether the login comes from the command
// line or from the dialog.
TEST(ProgramExit, AStoreThatCannotBeOpenedEndsTheRunWithItsMessage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const StoreLocation nowhere = StoreLocation::parse(dir.path());
    QStringList messages;
    QTimer boxes;  // answers message boxes only, so the login dialog stays
    boxes.setInterval(10);
    QObject::connect(&boxes, &QTimer::timeout, [&messages] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages << box->text();
            box->accept();
        }
    });
    boxes.start();
    for (const QStringList& arguments : {QStringList{QStringLiteral("admin"), QStringLiteral("tebov")}, QStringList{}}) {
        messages.clear();
        Program program(arguments, nowhere);
        TFmMain& window = program.mainWindow();
        QSignalSpy started(&window, &TFmMain::started);
        window.show();
        ASSERT_TRUE(started.wait(10000)) << arguments.size();
        EXPECT_FALSE(started.first().first().toBool());
        EXPECT_EQ(program.status(), 1);
        ASSERT_EQ(messages.size(), 1) << arguments.size();
        EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Nie znaleziono bazy danych w folderze")));
        EXPECT_FALSE(window.isVisible());
    }
}

}  // namespace

namespace {

TEST(Help, EveryPageOfTheContentsIsShippedAndWindowsFindTheirPage)
{
    QDir folder(help::folder());
    ASSERT_TRUE(folder.exists(QStringLiteral("index.html"))) << help::folder().toStdString();
    QFile index(folder.filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString contents = QString::fromUtf8(index.readAll());
    for (const char* page : {"miesiac.html", "obecnosci.html", "oplaty.html", "wydruki.html", "import.html",
                             "synchronizacja.html", "prawa.html"}) {
        EXPECT_TRUE(contents.contains(QLatin1String(page))) << page;
        EXPECT_TRUE(folder.exists(QLatin1String(page))) << page;
    }
    EXPECT_EQ(help::pageFor(QStringLiteral("Lista obecności na: środa 9 grudnia 2026")), "obecnosci.html");
    EXPECT_EQ(help::pageFor(QStringLiteral("Rozrachunki")), "oplaty.html");
    EXPECT_EQ(help::pageFor(QStringLiteral("Lunawa - admin")), "index.html");
}

}  // namespace

namespace {

TEST(CommandIcons, EveryMainCommandImageHasItsOwnBuiltInPicture)
{
    QHash<QString, int> owner;
    for (const mainmenu::CommandDef& def : mainmenu::commands()) {
        if (def.image < 0)
            continue;
        const QString picture = TFmMain::commandPicture(def.image);
        ASSERT_FALSE(picture.isEmpty()) << def.name.toStdString();
        EXPECT_TRUE(QFile::exists(picture)) << picture.toStdString();
        EXPECT_TRUE(!owner.contains(picture) || owner.value(picture) == def.image)
            << def.name.toStdString() << " shares " << picture.toStdString();
        owner.insert(picture, def.image);
    }
}

}  // namespace
