// The program: its parts are made by Program in a fixed order, each needing
// the ones before it, and go in the reverse order when the run ends.

#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "shell/startup_trace.h"
#include "store/error.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <memory>

int main(int argc, char** argv)
{
    startup::mark("main");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lunawa"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lunawa"));
    QApplication::setOrganizationName(QStringLiteral("Vendrix"));

    QTranslator qtPolish;
    if (qtPolish.load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtPolish);
    startup::mark("application made");

    std::unique_ptr<Program> program;
    try {
        program = std::make_unique<Program>(QCoreApplication::arguments().mid(1));
    } catch (const Error& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Lunawa"), e.message());
        return 1;
    }
    // Hidden windows (the message window, a docked one) must not keep the
    // run going once the main window has closed.
    QObject::connect(&program->mainWindow(), &TFmMain::runEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    program->mainWindow().show();
    startup::mark("main window shown");
    const int result = app.exec();
    const int status = program->status();
    program.reset();
    return status != 0 ? status : result;
}
