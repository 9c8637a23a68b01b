#pragma once
// A run over a new SQLite store with a small module on KLASY (KOD, NAZWA,
// KOLEJ), for the browser's tests.

#include "browser/area_registry.h"
#include "browser/module.h"
#include "browser/run_context.h"
#include "store/tdm_baza.h"
#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <memory>

class KlasyModule : public TDMDane {
public:
    explicit KlasyModule(RunContext& context);
    DataSet& klasy;
};

class BrowserRun {
public:
    // Windows open through `windows` when given, else they are recorded in `opener`.
    explicit BrowserRun(WindowOpener* windows = nullptr);
    ~BrowserRun();

    // Rows (NAZWA, KOLEJ) in place of the delivered ones.
    void seed(const QList<QPair<QString, int>>& rows);
    // KOLEJ of every row, in KOLEJ order, read by SQL.
    QList<int> positions();
    QStringList namesInOrder();

    TestStore store{Engine::SQLite};
    std::unique_ptr<TDMBaza> baza;
    ScriptedPrompts prompts;
    RecordingOpener opener;
    AreaRegistry areas;
    std::unique_ptr<RunContext> context;
    std::unique_ptr<KlasyModule> module;
};
