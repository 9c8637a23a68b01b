#pragma once
// "Informacje": information for parents (INFORM) with its detail lists:
//   Inform          the informations (those of other groups hidden)
//   Dzieinf         "Adresaci informacji": the children it is addressed to,
//                   with the date the parents opened it on the web
//   Linki           "Załączniki": local files and internet links
//   Dzieci          the children an addressee may name (the picker)
//   Dzieinfdziecka  the per-child view: one child's informations, which the
//                   informations list follows
// An information for a group is a notice board (type G): it has neither
// addressees nor attachments.

#include "inform_attachments.h"
#include "inform_mail.h"

#include "browser/module.h"

struct InformOptions {
    int child = 0;  // the per-child view of this child; 0: every information
    inform::AttachmentUpload upload;  // empty: uploadWithoutWindow
    inform::UrlOpener openUrl;        // files, links and mail; empty: the desktop
};

class TDMInform : public TDMDane {
    Q_OBJECT
public:
    explicit TDMInform(RunContext& context, const InformOptions& options = {}, QObject* parent = nullptr);

    DataSet& informations() const { return *dataSet(QStringLiteral("Inform")); }
    DataSet& addressees() const { return *dataSet(QStringLiteral("Dzieinf")); }
    DataSet& attachments() const { return *dataSet(QStringLiteral("Linki")); }
    DataSet& children() const { return *dataSet(QStringLiteral("Dzieci")); }
    DataSet& childInformations() const { return *dataSet(QStringLiteral("Dzieinfdziecka")); }
    DataSet* mainDataSet() const override;

    bool perChild() const { return m_child != 0; }
    int child() const { return m_child; }
    // The per-child view follows the children register's current child.
    void setChild(int child);

    bool canInsert(const DataSet& ds) const override;
    bool canDelete(const DataSet& ds) const override;

    // The commands.
    void editText();          // "Informacja"
    void assignAddressees();  // "Przyporządkuj nowych adresatów"
    void sendMail();          // "Wyślij e-mail do adresatów" / "Wyślij e-mail"
    void openFile();          // "Sprawdź załącznik"
    void openLink();          // "Sprawdź odnośnik"
    void sendAttachment();    // "Wyślij załącznik"

    // The web password of the last upload, kept while the module lives.
    const QString& webPassword() const { return m_webPassword; }

    static QString groupChangeRefusal();  // "Nie można edytować grupy informacji"
    static QString deleteRefusal();       // "Informacja ma powiązania z dziećmi"
    static QString duplicateAddressee();  // "Dziecko jest już adresatem tej informacji"

private:
    void setUpInformations();
    void setUpChildren();
    void setUpAddressees();
    void setUpAttachments();
    void setUpChildView();
    void setUpCommands();

    // The information a command acts on (its KOD); 0 when there is none.
    int currentInformation();
    // A detail row of an information needs it saved.
    void saveInformationFirst(Table& detail);
    bool chooseGroup();
    bool chooseType();
    bool pickInformation(Table& row);
    void followChildRow();
    void openDetail(DataSet& ds, const QString& commandName);
    bool openUrl(const QUrl& url);
    // Opens the current attachment's file or link; nothing when it is empty.
    void openAttachment(const QString& field, const std::function<QUrl(const QString&)>& toUrl);
    static void refuseDuplicateAddressee(Database& db, const Table& row);

    InformOptions m_options;
    int m_child = 0;
    QString m_webPassword;
    QVariant m_deleting;  // KOD of the information being deleted
};
