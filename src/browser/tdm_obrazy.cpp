#include "tdm_obrazy.h"

#include "prompts.h"

#include "store/error.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QImage>

TDMObrazy::TDMObrazy(RunContext& context, QObject* parent) : TDMDane(context, QStringLiteral("TDMObrazy"), parent)
{
    DataSet& pictures = addDataSet(QStringLiteral("Obrazy"), QStringLiteral("OBRAZY"), QStringLiteral("KOD"));
    FieldView code;
    code.name = QStringLiteral("KOD");
    code.caption = QStringLiteral("Kod");
    code.readOnly = true;
    code.alignment = Qt::AlignRight;
    FieldView name;
    name.name = QStringLiteral("NAZWA");
    name.caption = QStringLiteral("Nazwa");
    FieldView picture;
    picture.name = QStringLiteral("OBRAZ");
    picture.caption = QStringLiteral("Obraz");
    picture.readOnly = true;  // changed only by the two commands
    pictures.fields = {code, name, picture};

    Command load;
    load.name = QStringLiteral("Wczytajobraz1");
    load.caption = QStringLiteral("Wczytaj obraz");
    load.label = QStringLiteral("Wczytaj");
    load.handler = [this] { loadPicture(); };
    Command remove;
    remove.name = QStringLiteral("Usuobraz1");
    remove.caption = QStringLiteral("Usuń obraz");
    remove.label = QStringLiteral("Usuń");
    remove.handler = [this] { removePicture(); };
    pictures.commands = {load, remove};

    applyFunctions();
}

QString TDMObrazy::notAPictureMessage(const QString& path)
{
    return QStringLiteral("Plik %1 nie zawiera obrazu").arg(QDir::toNativeSeparators(path));
}

QString TDMObrazy::unreadableMessage(const QString& path)
{
    return QStringLiteral("Nie można odczytać pliku %1").arg(QDir::toNativeSeparators(path));
}

void TDMObrazy::loadPicture()
{
    Table& t = *pictures().table;
    if (!t.isOpen())
        t.open();
    FileDialogOptions options;
    options.title = QStringLiteral("Wczytaj obraz");
    // What the printouts can draw; metafiles are not among them.
    options.filter = QStringLiteral("Obrazy|*.bmp;*.ico;*.png;*.jpg;*.jpeg;*.gif|Wszystkie|*.*");
    QString path;
    if (!context().prompts.openFile(options, path) || path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(unreadableMessage(path));
    const QByteArray bytes = file.readAll();
    // The bytes are kept as they are; the check only makes sure that a
    // template will be able to draw them.
    if (QImage::fromData(bytes).isNull())
        throw Error(notAPictureMessage(path));
    t.edit();
    t.setValue(QStringLiteral("OBRAZ"), bytes);
}

void TDMObrazy::removePicture()
{
    Table& t = *pictures().table;
    if (!t.isOpen())
        t.open();
    t.edit();
    t.clear(QStringLiteral("OBRAZ"));
}
