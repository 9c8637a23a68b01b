// The program: the modules are created in a fixed order, each needing the
// ones before it, and the data module goes last when the window closes.

#include "shell/ui/main_window.h"
#include "store/error.h"
#include "store/tdm_baza.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lunawa"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lunawa"));
    QApplication::setOrganizationName(QStringLiteral("Vendrix"));

    QTranslator qtPolish;
    if (qtPolish.load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtPolish);

    TFmMain mainWindow;
    std::unique_ptr<TDMBaza> baza;
    try {
        baza = std::make_unique<TDMBaza>();
    } catch (const Error& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Lunawa"), e.message());
        return 1;
    }
    mainWindow.attach(baza.get());
    mainWindow.show();
    const int status = app.exec();
    baza.reset();
    return status;
}
