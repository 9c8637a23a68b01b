#pragma once
// The pictures dictionary (OBRAZY): named pictures placed on templates by
// their code.

#include "module.h"

class TDMObrazy : public TDMDane {
    Q_OBJECT
public:
    explicit TDMObrazy(RunContext& context, QObject* parent = nullptr);

    DataSet& pictures() const { return *dataSet(QStringLiteral("Obrazy")); }

    // Both leave the row being edited: saving it is the user's.
    void loadPicture();    // "Wczytaj obraz"
    void removePicture();  // "Usuń obraz"

    static QString notAPictureMessage(const QString& path);
    static QString unreadableMessage(const QString& path);
};
