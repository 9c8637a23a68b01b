// Code 13: internet passwords for the marked children, stored as digests
// and handed over once, on the password sheet.

#include "fees/charge_operation.h"
#include "fees/marked_operations.h"
#include "fees/password_sheet.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "printouts/grid_printout.h"
#include "store/database.h"
#include "store/institution.h"
#include "store/password_digest.h"
#include "store/query.h"

#include <QRandomGenerator>

namespace fees {

QString overwriteQuestion()
{
    return QStringLiteral("Nadpisywać hasła już wypełnione?");
}

QString sheetTitle()
{
    return QStringLiteral("Hasła dostępu w internecie");
}

QString drawPassword(const std::function<quint32(quint32)>& bounded)
{
    QString password;
    for (int i = 0; i < 8; ++i) {
        if (bounded(3) == 0)
            password += QChar(u'0' + char16_t(bounded(10)));
        else
            password += QChar(u'a' + char16_t(bounded(26)));
    }
    return password;
}

namespace {

class Passwords : public ChargeOperationRun {
public:
    explicit Passwords(MarkedServices services) : m_services(std::move(services)) {}

    QString progressText() const override { return QStringLiteral("Nadawanie"); }
    bool choosesComponents() const override { return false; }

    bool ask(ChargeRunState& state) override
    {
        m_overwrite = state.prompts.askYesNo(overwriteQuestion());
        return true;
    }

    void begin(ChargeRunState& state) override { m_clientNumber = Institution::read(state.db).clientNumber; }

    void runChild(ChargeRunState& state, const RunChild& child) override
    {
        if (!m_overwrite) {
            const QString current = Query(state.db, QStringLiteral("SELECT HASLO FROM DZIECI WHERE KOD = :K"))
                                        .bind(QStringLiteral("K"), child.code)
                                        .scalar()
                                        .toString();
            if (!current.isEmpty())
                return;
        }
        const QString password = m_services.drawPassword();
        Query(state.db, QStringLiteral("UPDATE DZIECI SET HASLO = :H WHERE KOD = :K"))
            .bind(QStringLiteral("H"), digest::internetPassword(password))
            .bind(QStringLiteral("K"), child.code)
            .exec();
        m_buffer += passwordBlock(child.caption, m_clientNumber, child.code, password);
    }

    // The passwords exist only here now: the sheet is shown even when the
    // introduction is cancelled.
    void finish(ChargeRunState& state) override
    {
        state.log.hide();
        if (m_buffer.isEmpty())
            return;
        QString introduction;
        if (state.prompts.askMemo(sheetTitle(), QStringLiteral("Podaj tekst wstępu"), introduction)
            && !introduction.isEmpty())
            introduction += QStringLiteral("\r\n\r\n");
        else
            introduction.clear();
        PasswordSheet sheet;
        sheet.title = sheetTitle();
        sheet.introduction = introduction;
        sheet.blocks = passwordBlocks(m_buffer);
        sheet.pagePerChild = state.prompts.askYesNo(QStringLiteral("Każde dziecko od nowej strony?"));
        sheet.footerLine = report::footerLine(state.db);
        std::shared_ptr<report::Job> job = makePasswordSheet(sheet);
        if (m_services.showSheet && state.context)
            m_services.showSheet(*state.context, std::move(job));
    }

private:
    MarkedServices m_services;
    bool m_overwrite = false;
    int m_clientNumber = 0;
    QString m_buffer;
};

}  // namespace

std::unique_ptr<ChargeOperationRun> passwordsOperation(const MarkedServices& services)
{
    MarkedServices s = services;
    if (!s.drawPassword)
        s.drawPassword = MarkedServices::defaults().drawPassword;
    return std::make_unique<Passwords>(std::move(s));
}

}  // namespace fees
