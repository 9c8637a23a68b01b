#pragma once
// How a child (or an educator) is named in lists and messages:
// "NAZWA, ULICA (PESEL: …)", the PESEL part only when there is one.

#include <QString>

class Database;

QString childCaption(const QString& name, const QString& street, const QString& pesel);

// The caption of the DZIECI row `kod`; empty when there is no such child.
QString childCaption(Database& db, int kod);
