#pragma once
// Bringing in Paradox tables from the main window: the folder is asked for,
// the tables are written while the message window shows which one, and the
// report ends in that window (refused rows as errors, the rest as remarks).

#include <functional>

class Database;
class MessageLog;
class Prompts;

namespace migration {

// False when the user gave no folder or nothing was brought in (the reason
// is in the message window). After a true result the rights of the users
// are those of the brought-in data: the user must log in again.
// `busy` (true, then false) brackets the writing, for a wait cursor.
bool runFromChosenFolder(Database& db, Prompts& prompts, MessageLog& log,
                         const std::function<void(bool)>& busy = {});

}  // namespace migration
