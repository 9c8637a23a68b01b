#pragma once
// The demonstration store's identification card: a letters template
// printing two cards across, each with the kindergarten, the child's name,
// PESEL, address and the child code as a barcode.

class Database;

namespace demo {

void addIdCardTemplate(Database& db);

}  // namespace demo
