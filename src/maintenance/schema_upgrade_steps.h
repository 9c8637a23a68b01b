#pragma once
// The upgrade's steps in order: what each checks and what it changes.

#include <QList>
#include <QString>

#include <functional>

class Database;

namespace upgrade {

struct Step {
    QString what;  // for messages and tests: "table FAKT", "column NALICZ.IDF"
    bool asks = true;  // a change the user confirms first
    std::function<bool(Database&)> needed;
    std::function<void(Database&)> apply;  // runs inside one transaction
};

const QList<Step>& steps();

}  // namespace upgrade
