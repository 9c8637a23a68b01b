#include "help_window.h"

#include "browser/area_registry.h"
#include "browser/run_context.h"
#include "browser/ui/tfm_kartot.h"  // ui_window_opener.h holds QPointers to it
#include "browser/ui/ui_window_opener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace help {

namespace {

QPointer<QWidget> window;
QTextBrowser* browser = nullptr;

}  // namespace

QString folder()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/help");
    if (QFileInfo::exists(beside + QStringLiteral("/index.html")))
        return beside;
#ifdef LUNAWA_SOURCE_HELP
    return QStringLiteral(LUNAWA_SOURCE_HELP);
#else
    return beside;
#endif
}

QString pageFor(const QString& windowTitle)
{
    const QString t = windowTitle.toLower();
    const auto has = [&t](const char* word) { return t.contains(QString::fromUtf8(word)); };
    if (has("obecno") || has("czasu pobytu") || has("czas bezpłatny"))
        return QStringLiteral("obecnosci.html");
    if (has("import"))
        return QStringLiteral("import.html");
    if (has("synchroniz") || has("eksportuj grup"))
        return QStringLiteral("synchronizacja.html");
    if (has("szablon") || has("wydruk"))
        return QStringLiteral("wydruki.html");
    if (has("użytkownik") || has("hasło"))
        return QStringLiteral("prawa.html");
    if (has("rozrachunk") || has("opłat") || has("sposoby") || has("naliczeni") || has("wpłat") || has("faktur"))
        return QStringLiteral("oplaty.html");
    return QStringLiteral("index.html");
}

QWidget* show(const QString& page)
{
    if (!window) {
        window = new QWidget(nullptr, Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setObjectName(QStringLiteral("Pomoc"));
        window->setWindowTitle(QStringLiteral("Pomoc - Lunawa"));
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        browser = new QTextBrowser(window);
        browser->setOpenExternalLinks(true);
        browser->setSearchPaths({folder()});
        layout->addWidget(browser);
        window->resize(760, 600);
    }
    browser->setSource(QUrl::fromLocalFile(QDir(folder()).filePath(page)));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void registerArea(AreaRegistry& areas)
{
    areas.add(QStringLiteral("Tematy pomocy"), [](RunContext& context, const QVariantMap&) {
        const bool fresh = !window;
        QWidget* w = show(QStringLiteral("index.html"));
        // Tracked once: the command stays checked while the window is open.
        if (auto* opener = dynamic_cast<UiWindowOpener*>(&context.opener); opener && fresh)
            opener->track(w, nullptr);
    });
}

}  // namespace help
