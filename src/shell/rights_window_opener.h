#pragma once
// How the users and user groups registers open the rights window: the
// desktop passes its window, which follows the register's current row
// (letter 'U' for users, 'G' for groups). Without one the registers do not
// offer the command.

#include <QChar>

#include <functional>

class Table;
struct RunContext;

using RightsWindowOpener = std::function<void(RunContext& context, Table& registerRows, QChar letter)>;
