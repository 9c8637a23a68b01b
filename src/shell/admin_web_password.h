#pragma once
// The administrator's password for the parents' web service (OPCJE.HASLO).

#include <functional>

class Database;
class Prompts;
struct Institution;

// Asks for the password, stores its digest (or removes it), tells the user
// the identifier and password and offers to send the change to the web
// service through `send` (none yet: the answer is then only noted).
void setAdministratorWebPassword(Database& db, Prompts& prompts, const Institution& institution,
                                 const std::function<void()>& send = {});
