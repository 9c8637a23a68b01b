#pragma once
// Finding the child named somewhere in a transfer's free text: parents
// write "czesne marzec Zuzanna Nowak" or "NOWAK ZUZANNA PESEL 19230512345".
// Texts are compared upper-cased, without diacritics, with every run of
// other characters than letters and digits as one blank, and only whole
// words count.

#include "child_matching.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace import {

// "Zuzanna  Nowak-Kowalska!" -> "ZUZANNA NOWAK KOWALSKA"
QString searchableText(const QString& text);

class TitleSearch {
public:
    // Prepares the phrases of every child of the list once.
    explicit TitleSearch(const ChildDirectory& children);

    // Looks in each text in turn for an active child's PESEL as a whole
    // token, then its name as whole words in either order, then its
    // correspondence name, then a collecting person. One child found is
    // confirmed unless "OK DLA NAZWA" allows it; several, and a collecting
    // person, always are.
    ChildMatch find(const QStringList& texts, const MatchOptions& options) const;

private:
    struct Phrases {
        int kod = 0;
        QString pesel;
        QStringList names, correspondence, collectors;  // searchable phrases
    };
    QList<Phrases> m_children;
};

}  // namespace import
