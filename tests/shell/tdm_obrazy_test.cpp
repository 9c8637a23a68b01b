// The pictures dictionary: only pictures are loaded, into the row being
// edited, and saving is the user's.

#include "register_fixture.h"

#include "browser/tdm_obrazy.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

class ObrazyTest : public RegisterTest {};

TEST_P(ObrazyTest, LoadAndRemove)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notatka.bmp"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("to nie jest obraz");
    }
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString png = dir.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(image.save(png));
    QFile pngFile(png);
    ASSERT_TRUE(pngFile.open(QIODevice::ReadOnly));
    const QByteArray pngBytes = pngFile.readAll();

    TDMObrazy module(context());
    Table& t = *module.pictures().table;
    t.open();
    t.insert();
    t.setValue(QStringLiteral("NAZWA"), QStringLiteral("Logo"));
    t.post();
    Command* load = module.pictures().command(QStringLiteral("Wczytajobraz1"));
    Command* remove = module.pictures().command(QStringLiteral("Usuobraz1"));
    ASSERT_TRUE(load && remove);

    prompts.expectOpenFile(QStringLiteral("Wczytaj obraz"), text);
    try {
        load->handler();
        FAIL() << "a file that is not a picture was loaded";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), TDMObrazy::notAPictureMessage(text));
    }
    EXPECT_FALSE(t.isEditing());

    // Loaded into the row being edited; the user saves it.
    prompts.expectOpenFile(QStringLiteral("Wczytaj obraz"), png);
    load->handler();
    EXPECT_TRUE(prompts.done());
    ASSERT_TRUE(t.isEditing());
    t.post();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT OBRAZ FROM OBRAZY WHERE NAZWA = 'Logo'")).scalar().toByteArray(), pngBytes);

    remove->handler();
    ASSERT_TRUE(t.isEditing());
    t.post();
    EXPECT_TRUE(Query(*db, QStringLiteral("SELECT OBRAZ FROM OBRAZY WHERE NAZWA = 'Logo'")).scalar().isNull());
}

INSTANTIATE_ENGINES(ObrazyTest);

}  // namespace
