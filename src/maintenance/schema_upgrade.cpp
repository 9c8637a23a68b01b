#include "schema_upgrade.h"

#include "schema_upgrade_steps.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/error.h"
#include "store/schema_version.h"

namespace upgrade {

namespace {

struct WaitCursor {
    const std::function<void(bool)>& set;
    bool on = false;
    void start()
    {
        if (set && !on)
            set(true);
        on = true;
    }
    ~WaitCursor()
    {
        if (set && on)
            set(false);
    }
};

}  // namespace

bool needed(Database& db)
{
    Database::SystemAccess sys(db);
    db.forgetStructure();
    for (const Step& s : steps())
        if (s.asks && s.needed(db))
            return true;
    return false;
}

Outcome run(Database& db, Prompts& prompts, const std::function<void(bool on)>& waitCursor)
{
    Database::SystemAccess sys(db);
    WaitCursor cursor{waitCursor};
    bool asked = false;
    try {
        db.forgetStructure();
        for (const Step& step : steps()) {
            if (!step.needed(db))
                continue;
            if (step.asks && !asked) {
                if (!prompts.askYesNo(question()))
                    return Outcome::Declined;
                asked = true;
                cursor.start();
            }
            db.batch([&] { step.apply(db); });
            db.forgetStructure();
        }
        if (schemaversion::read(db) < schemaversion::kCurrent)
            db.batch([&] { schemaversion::write(db, schemaversion::kCurrent); });
    } catch (const Error& e) {
        db.forgetStructure();
        prompts.showError(e.message());
        return Outcome::Failed;
    }
    prompts.showInfo(asked ? finished() : newest());
    return asked ? Outcome::Upgraded : Outcome::Current;
}

}  // namespace upgrade
