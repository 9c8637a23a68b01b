#pragma once
// A run on a test store for the registers: the central data module with the
// master credential, scripted prompts, a recording opener whose windows take
// the modules opened as windows, and every function granted.

#include "browser/area_registry.h"
#include "browser/module.h"
#include "browser/run_context.h"
#include "shell/function_names.h"
#include "store/rights.h"
#include "store/tdm_baza.h"
#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <memory>
#include <vector>

// Stands in for the windows: a module opened as a window is parented to one.
class AdoptingOpener : public RecordingOpener {
public:
    void browse(TDMDane& module, DataSet& dataSet, const QString& title, Command* owner) override
    {
        RecordingOpener::browse(module, dataSet, title, owner);
        if (module.windowOwned() && !module.parent()) {
            windows.push_back(std::make_unique<QObject>());
            module.setParent(windows.back().get());
        }
    }
    std::vector<std::unique_ptr<QObject>> windows;
};

class RegisterTest : public EngineTest {
protected:
    // Made on first use, so that a test may change the store's structure first.
    RunContext& context()
    {
        if (!m_context) {
            m_baza = std::make_unique<TDMBaza>(store->location());
            m_baza->database().setCredentials({rights::masterCredential()});
            m_context = std::make_unique<RunContext>(
                RunContext{*m_baza, prompts, opener, areas, CurrentLogin{}, Parameters{}, Institution{}, RunSettings{}, nullptr});
            m_context->login.userCode = -1;
            m_context->login.functions = functions::allFunctionNames();
            m_context->login.visibleGroups = {QStringLiteral("-1")};
        }
        return *m_context;
    }

    static QStringList shownCaptions(const DataSet& ds)
    {
        QStringList out;
        for (const Command& c : ds.commands)
            if (c.shown())
                out << c.caption;
        return out;
    }
    static QStringList captions(const DataSet& ds)
    {
        QStringList out;
        for (const FieldView& f : ds.fields)
            if (f.visible)
                out << f.caption;
        return out;
    }

    ScriptedPrompts prompts;
    AreaRegistry areas;
    std::unique_ptr<TDMBaza> m_baza;
    AdoptingOpener opener;  // after the store: its windows' modules hold cursors on it
    std::unique_ptr<RunContext> m_context;
};
