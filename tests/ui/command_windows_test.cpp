// Windows opened by commands, driven by real clicks and keys: a toolbar
// button titles and centres the window it opens, and the remarks command
// opens a memo editor bound to the current child, closed by running the
// command again.

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "browser/ui/memo_field_window.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "registers/tdm_dzieci.h"
#include "shell/function_names.h"
#include "shell/tdm_ochrona.h"
#include "shell/ui/main_window.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/table.h"
#include "store/tdm_baza.h"
#include "support/browser_run.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QToolButton* buttonWithText(QToolBar* bar, const QString& text)
{
    for (QAction* a : bar->actions())
        if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a)); b && b->text() == text)
            return b;
    return nullptr;
}

void typeText(QWidget* w, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// The children register in a browser on a store with two children.
class ChildWindows : public ::testing::Test {
protected:
    ChildWindows() : windows(settings)
    {
        baza = std::make_unique<TDMBaza>(store.location());
        baza->database().setCredentials({rights::masterCredential()});
        context = std::make_unique<RunContext>(RunContext{*baza, prompts, windows, areas, {}, {}, {}, {}, nullptr});
        context->login.userCode = -1;
        context->login.functions = functions::allFunctionNames();
        context->login.visibleGroups = {QStringLiteral("-1")};
        windows.setContext(context.get());
        Database& db = baza->database();
        Query(db, "INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Motylki', 1)").exec();
        const int group = Query(db, "SELECT KOD FROM KLASY").scalar().toInt();
        for (const char* name : {"Adamska Ala", "Bednarek Bartek"})
            Query(db, "INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY, UWAGI) VALUES (:N, 'Polna 1', :K, 'T', :U)")
                .bind("N", QString::fromUtf8(name))
                .bind("K", group)
                .bind("U", QStringLiteral("Uwagi: ") + QString::fromUtf8(name))
                .exec();
        module = new TDMDzieci(*context, &settings);
        windows.browseOwning(module, module->children(), QStringLiteral("Dzieci"), nullptr);
        browser = windows.last();
        browser->show();
    }
    ~ChildWindows() override
    {
        // Detail windows go with the register's module: last first.
        QList<QPointer<TFmKartot>> open;
        for (TFmKartot* w : windows.windows())
            open.prepend(w);
        for (const QPointer<TFmKartot>& w : open) {
            if (!w)
                continue;
            if (w->table().isEditing())
                w->table().cancel();
            delete w.data();
        }
    }

    QString remarksOf(const QString& name)
    {
        return Query(baza->database(), "SELECT UWAGI FROM DZIECI WHERE NAZWA = :N").bind("N", name).scalar().toString();
    }
    MemoFieldWindow* memoWindow() const
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<MemoFieldWindow*>(w); m && m->isVisible())
                return m;
        return nullptr;
    }

    TestStore store{Engine::SQLite};
    std::unique_ptr<TDMBaza> baza;
    ScriptedPrompts prompts;
    MemorySettings settings;
    UiWindowOpener windows;
    AreaRegistry areas;
    std::unique_ptr<RunContext> context;
    TDMDzieci* module = nullptr;
    QPointer<TFmKartot> browser;
};

}  // namespace

TEST_F(ChildWindows, ToolbarButtonTitlesAndCentresTheWindowItOpens)
{
    QToolButton* button = buttonWithText(browser->toolbar(), QStringLiteral("Składniki"));
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(windows.windows().size(), 2);
    TFmKartot* detail = windows.windows().last();
    EXPECT_TRUE(detail->windowTitle().startsWith(QStringLiteral("Składniki Adamska Ala")))
        << detail->windowTitle().toStdString();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((detail->geometry().center() - screen.center()).manhattanLength(), 2);

    // The button again closes it; from the menu the caption names it, beside its browser.
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(windows.windows().size(), 1);
    Command* components = module->children().command(QStringLiteral("Media1"));
    browser->commandAction(components)->trigger();
    ASSERT_EQ(windows.windows().size(), 2);
    detail = windows.windows().last();
    EXPECT_TRUE(detail->windowTitle().startsWith(QStringLiteral("Składniki opłat dziecka Adamska Ala")))
        << detail->windowTitle().toStdString();
    EXPECT_GT((detail->geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(ChildWindows, RemarksEditorIsAWindowBoundToTheCurrentChild)
{
    Command* remarks = module->children().command(QStringLiteral("Uwagi1"));
    QToolButton* button = buttonWithText(browser->toolbar(), QStringLiteral("Uwagi"));
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QPointer<MemoFieldWindow> memo = memoWindow();
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->windowTitle(), QStringLiteral("Uwagi"));
    EXPECT_EQ(memo->windowModality(), Qt::NonModal);
    EXPECT_TRUE(remarks->checked);
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(memo->editor()->toPlainText(), QStringLiteral("Uwagi: Adamska Ala"));
    EXPECT_FALSE(memo->saveButton()->isEnabled());

    // Typing edits the child's row; "Zapisz" stores it.
    memo->editor()->moveCursor(QTextCursor::End);
    typeText(memo->editor(), QStringLiteral(", alergia"));
    EXPECT_TRUE(browser->table().isEditing());
    EXPECT_EQ(browser->table().text("UWAGI"), QStringLiteral("Uwagi: Adamska Ala, alergia"));
    ASSERT_TRUE(memo->saveButton()->isEnabled());
    QTest::mouseClick(memo->saveButton(), Qt::LeftButton);
    EXPECT_FALSE(browser->table().isEditing());
    EXPECT_EQ(remarksOf("Adamska Ala"), QStringLiteral("Uwagi: Adamska Ala, alergia"));

    // Another child in the browser: the editor follows it; "Anuluj" drops an edit.
    browser->table().next();
    EXPECT_EQ(memo->editor()->toPlainText(), QStringLiteral("Uwagi: Bednarek Bartek"));
    typeText(memo->editor(), QStringLiteral("x"));
    QTest::mouseClick(memo->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(browser->table().isEditing());
    EXPECT_EQ(memo->editor()->toPlainText(), QStringLiteral("Uwagi: Bednarek Bartek"));
    EXPECT_EQ(remarksOf("Bednarek Bartek"), QStringLiteral("Uwagi: Bednarek Bartek"));

    // The command again closes the editor and is no longer checked.
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(memo);
    EXPECT_FALSE(remarks->checked);
    EXPECT_FALSE(button->isChecked());
}

// The main window's toolbar button is titled with the command's hint.
TEST(MainWindowButtons, ButtonTextTitlesTheWindow)
{
    TestStore store(Engine::SQLite);
    TDMBaza baza(store.location());
    TDMOchrona security(baza.database());
    ScriptedPrompts prompts;
    MemorySettings settings;
    UiWindowOpener opener(settings);
    AreaRegistry areas;
    areas.add("Dzieci", [](RunContext& ctx, const QVariantMap& args) {
        TDMDane::openAsWindow(std::make_unique<KlasyModule>(ctx), args.value("title").toString());
    });
    RunContext context{baza, prompts, opener, areas, {}, {}, {}, {}};
    opener.setContext(&context);
    MessageLog messages;
    QTemporaryDir dir;
    settings.setValue("Main", "Buttons", "Dzieci1\r\n");

    TFmMain window;
    MainServices services{context, security, settings, window, window, messages, {}, {}, {"admin", "tebov"}, {},
                          dir.path()};
    window.attach(services);
    QSignalSpy started(&window, &TFmMain::started);
    window.show();
    ASSERT_TRUE(started.wait(5000));

    auto* button = qobject_cast<QToolButton*>(window.toolBar()->widgetForAction(window.action("Dzieci1")));
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(opener.windows().size(), 1);
    EXPECT_EQ(opener.windows().first()->windowTitle(), QStringLiteral("Kartoteka dzieci"));
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(opener.windows().isEmpty());

    window.action("Dzieci1")->trigger();
    ASSERT_EQ(opener.windows().size(), 1);
    EXPECT_EQ(opener.windows().first()->windowTitle(), QStringLiteral("Dzieci"));
    delete opener.windows().first();
    prompts.expectYesNoCancel("Chcesz wykonać kopie bazy?", Answer::No);
    window.close();
}
