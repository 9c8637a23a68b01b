// Code 14: one e-mail to the addresses of the marked children.

#include "fees/charge_operation.h"
#include "fees/marked_operations.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "communication/mail_link.h"
#include "store/database.h"
#include "store/query.h"

#include <QRegularExpression>

namespace fees {

QString noAddressesMessage()
{
    return QStringLiteral("Brak dresów E-mail w podanym zakresie");
}

namespace {

class Emails : public ChargeOperationRun {
public:
    explicit Emails(MarkedServices services) : m_services(std::move(services)) {}

    QString progressText() const override { return QStringLiteral("Generowanie"); }
    bool choosesComponents() const override { return false; }
    bool ask(ChargeRunState&) override { return true; }
    void begin(ChargeRunState&) override {}

    void runChild(ChargeRunState& state, const RunChild& child) override
    {
        const QString email = Query(state.db, QStringLiteral("SELECT EMAIL FROM DZIECI WHERE KOD = :K"))
                                  .bind(QStringLiteral("K"), child.code)
                                  .scalar()
                                  .toString();
        // A field may hold the addresses of both parents.
        static const QRegularExpression separators(QStringLiteral("[;,]"));
        m_addresses << email.split(separators, Qt::SkipEmptyParts);
    }

    void finish(ChargeRunState& state) override
    {
        state.log.hide();
        mail::Message message;
        message.addresses = mail::uniqueAddresses(m_addresses);
        if (message.addresses.isEmpty()) {
            state.prompts.showInfo(noAddressesMessage());
            return;
        }
        if (message.addresses.size() > 1)
            message.hideRecipients = state.prompts.askYesNo(QStringLiteral("Ukryć adresatów?"));
        mail::openLinks(mail::mailtoLinks(message), state.prompts, m_services.openMail);
    }

private:
    MarkedServices m_services;
    QStringList m_addresses;
};

}  // namespace

std::unique_ptr<ChargeOperationRun> emailsOperation(const MarkedServices& services)
{
    MarkedServices s = services;
    if (!s.openMail)
        s.openMail = mail::openWithDesktop;
    return std::make_unique<Emails>(std::move(s));
}

}  // namespace fees
