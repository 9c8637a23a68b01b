#pragma once
// The fee catalogue windows:
//   TDMMedia    fee components (MEDIA) with their prices (TARMED) and,
//               while methods are uniform, their default methods (MEDSPOS)
//   TDMGrupyOp  fee groups (GRUPYOP)
//   TDMJednost  units of measure (JEDNOST)
//   TDMStawki   VAT rates (STAVAT)

#include "browser/module.h"

class Table;

class TDMMedia : public TDMDane {
    Q_OBJECT
public:
    explicit TDMMedia(RunContext& context, QObject* parent = nullptr);

    DataSet& components() const { return *dataSet(QStringLiteral("Media")); }
    DataSet& prices() const { return *dataSet(QStringLiteral("Tarmed")); }
    DataSet& methods() const { return *dataSet(QStringLiteral("Medspos")); }

    // Whether the prices carry a VAT rate: invoicing is on and the store
    // has the column.
    bool pricesWithVat() const { return m_withVat; }

    static QString inUseHeading();

private:
    void checkDeletion(const QVariant& code);
    // A detail row needs the component's key: a component still being
    // inserted is saved first.
    void saveComponentFirst();
    void saveComponentFirst(Table& detail, const QString& masterFields, const QString& detailFields);
    void openDetail(DataSet& ds, const QString& commandName);

    bool m_withVat = false;
    QVariant m_deleted;  // the component being deleted, for its dated rows
};

class TDMGrupyOp : public TDMDane {
    Q_OBJECT
public:
    explicit TDMGrupyOp(RunContext& context, QObject* parent = nullptr);
    DataSet& feeGroups() const { return *dataSet(QStringLiteral("Grupyop")); }
    static QString inUseHeading();
};

class TDMJednost : public TDMDane {
    Q_OBJECT
public:
    explicit TDMJednost(RunContext& context, QObject* parent = nullptr);
    DataSet& units() const { return *dataSet(QStringLiteral("Jednost")); }
    static QString fixedUnitMessage();
};

class TDMStawki : public TDMDane {
    Q_OBJECT
public:
    explicit TDMStawki(RunContext& context, QObject* parent = nullptr);
    DataSet& rates() const { return *dataSet(QStringLiteral("Stawkivat")); }
    static QString inUseHeading();
};
