#include "sync_modes.h"

#include "sync_downloads.h"
#include "sync_session.h"
#include "wire_encoding.h"

#include "browser/prompts.h"
#include "store/cp1250.h"
#include "store/database.h"
#include "store/error.h"
#include "store/institution.h"
#include "store/query.h"

#include <QFile>
#include <QFileInfo>

namespace websync {

QString Synchronizer::finishedMessage()
{
    return QStringLiteral("Transmisja zakończona");
}

Synchronizer::Synchronizer(const Environment& env, SyncSession& session) : m_env(env), m_session(session) {}

bool Synchronizer::exchange(const QString& password, const std::function<bool()>& work)
{
    m_summary = {};
    try {
        m_session.checkStop();
        m_session.setAction(QStringLiteral("Logowanie ..."));
        m_session.login(m_env.institution.clientNumber, password);
        m_session.checkStop();
        const bool announce = work();
        m_session.setAction(QStringLiteral("Wylogowanie ..."));
        m_session.logout();
        m_session.setAction(QStringLiteral("Koniec operacji"));
        if (announce)
            m_env.prompts.showInfo(finishedMessage());
        return true;
    } catch (const SyncStopped&) {
    } catch (const Error& e) {
        m_env.prompts.showError(e.message());
    }
    // Best effort: the service should not keep a session we abandoned.
    m_session.sendQuietly(wire::ActionString("Wylogowanie").bytes());
    return false;
}

void Synchronizer::setStatus(const char* value)
{
    m_session.send(wire::ActionString("Ustawienie").text("select", QString::fromLatin1(value)).bytes());
}

bool Synchronizer::full(const QString& password, const FullOptions& options)
{
    return exchange(password, [&] {
        setStatus("1");
        Downloader downloader(m_env.db, m_session, m_env.prompts);
        for (const Download& d : fullDownloads()) {
            const DownloadResult r = downloader.run(d);
            m_summary.downloaded += r.applied;
            m_summary.requestsReceived += r.requests;
            m_summary.skipped += r.skipped;
        }
        setStatus("2");
        Uploader uploader(m_env.db, m_session);
        for (const Upload& u : fullUploads(m_env.db, m_env.params, options.start)) {
            if (options.onlyRequestsAndInformation && !u.requestsAndInformation)
                continue;
            m_summary.uploaded += uploader.run(u);
        }
        setStatus("0");
        return true;
    });
}

bool Synchronizer::correction(const QString& password, int key)
{
    return exchange(password, [&] {
        Query q(m_env.db, key == 0 ? QStringLiteral("SELECT HASLO FROM OPCJE")
                                   : QStringLiteral("SELECT HASLO FROM DZIECI WHERE KOD = :K"));
        if (key != 0)
            q.bind(QStringLiteral("K"), key);
        q.exec();
        const QString hash = q.next() ? q.value(0).toString() : QString();
        m_session.setAction(QStringLiteral("Wysyłanie poprawki ..."));
        m_session.send(wire::ActionString("Egzekucja")
                           .raw("select", "update")
                           .text("from", QStringLiteral("DZIECI"))
                           .text("where", QStringLiteral("set HASLO = ") + wire::quoted(hash)
                                              + QStringLiteral(" where KOD = ") + QString::number(key))
                           .bytes());
        return true;
    });
}

bool Synchronizer::readConfiguration(const QString& password)
{
    return exchange(password, [&] {
        const QByteArray result = m_session.send(
            wire::ActionString("Potwierdzenie").raw("row", "1").text("select", QStringLiteral("COJEST")).bytes());
        m_summary.configuration = cp1250::decode(result.left(result.indexOf(';') < 0 ? result.size() : result.indexOf(';')));
        // A configuration found reopens the window for editing instead.
        return m_summary.configuration.isEmpty();
    });
}

bool Synchronizer::writeConfiguration(const QString& password, const QString& configuration)
{
    return exchange(password, [&] {
        m_session.send(wire::ActionString("Ustawienie")
                           .text("select", QStringLiteral("COJEST"))
                           .text("where", wire::quoted(configuration))
                           .bytes());
        return true;
    });
}

bool Synchronizer::attachment(const QString& password, int linkId, const QString& file)
{
    if (file.isEmpty())
        return true;
    return exchange(password, [&] {
        m_session.setAction(file);
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            throw Error(file + QStringLiteral("\r\nBłąd otwarcia pliku"));
        const QByteArray content = f.readAll();
        if (content.isEmpty())
            throw Error(file + QStringLiteral("\r\nBłąd pobrania struktury pliku"));
        const QString suffix = QFileInfo(file).suffix();
        const QString name = QString::number(linkId) + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);

        const QUrl normal = m_session.address();
        struct Restore {
            SyncSession& s;
            QUrl url;
            ~Restore() { s.setAddress(url); }
        } restore{m_session, normal};

        auto step = [&](const char* etap) { return wire::ActionString("Wysylanie").raw("etap", etap).text("nazwa", name); };
        const QByteArray elsewhere = m_session.send(step("1").bytes()).trimmed();
        if (!elsewhere.isEmpty()) {
            m_session.setAddress(QUrl::fromEncoded(elsewhere));
            m_session.send(step("1").bytes());
        }
        const int chunks = int((content.size() + 1023) / 1024);
        for (int i = 0; i < chunks; ++i) {
            m_session.checkStop();
            m_session.send(step("2").raw("tekst", content.mid(qsizetype(i) * 1024, 1024).toHex().toUpper()).bytes());
            m_session.setProgress(i + 1, chunks);
        }
        m_summary.link = cp1250::decode(m_session.send(step("3").bytes())).trimmed();
        return true;
    });
}

bool Synchronizer::logins(const QString& password, int months, const QDate& today)
{
    return exchange(password, [&] {
        Downloader downloader(m_env.db, m_session, m_env.prompts);
        const DownloadResult r = downloader.run(loginRecords(months, today));
        m_summary.downloaded = r.applied;
        m_summary.skipped = r.skipped;
        return true;
    });
}

bool askLoginMonths(Prompts& prompts, int& months)
{
    QString answer = QStringLiteral("3");
    if (!prompts.askText(QStringLiteral("Sprawdzić wejścia"), QStringLiteral("z ilu ostatnich miesięcy?"), answer))
        return false;
    bool ok = false;
    months = answer.trimmed().toInt(&ok);
    if (!ok)
        months = 3;
    return true;
}

QStringList configurationItems()
{
    return {QStringLiteral("Informacje"),    QStringLiteral("Obecności"),   QStringLiteral("Rozrachunki"),
            QStringLiteral("Potwierdzenia wpłat"), QStringLiteral("Zgłoszenia"), QStringLiteral("Posiłki"),
            QStringLiteral("Zmiana hasła"),  QStringLiteral("Naliczenia dodatkowe"), QStringLiteral("Zgłosz. nieobecn.")};
}

bool itemAllowsAdding(int item)
{
    return item == 3 || item == 4 || item == 8;
}

}  // namespace websync
