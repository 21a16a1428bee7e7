#pragma once
// Small keyed look-up caches that turn stored identifiers back into display names. Each distinct
// key costs at most one query; the rows found stay cached for the provider's lifetime.
#include "foundation/DataSet.h"

#include <QString>
#include <QVariant>

class TBaseInfoProvider {
public:
    TBaseInfoProvider();
    virtual ~TBaseInfoProvider();
    TBaseInfoProvider(const TBaseInfoProvider&) = delete;
    TBaseInfoProvider& operator=(const TBaseInfoProvider&) = delete;

    // The look-up statement (with named parameters and a WHERE clause) and its key fields
    // ("TagID;TagValueID"), one parameter per key field in the same order.
    QString InfoSQL;
    QString InfoKeyFields;

    // Learns the result columns once; a provider without statement or key fields raises.
    virtual void Prepare();
    // True when the key (one value, or a list with one value per key field) was found in the
    // cache or in the database; the provider is then positioned on that row.
    virtual bool Lookup(const QVariant& key);
    virtual void ClearCache();
    bool Initialized() const { return FInitialized; }
    const TMemTable& Cache() const { return FCache; }

protected:
    // Sets InfoSQL and InfoKeyFields; called by the constructors of the subclasses.
    virtual void InitSQL() {}
    virtual void BeforeFree() {}
    virtual bool FetchFromDatabase(const QVariant& key);
    virtual bool FindInCache(const QVariant& key);
    QString FieldText(const QString& name) const;

    TMemTable FCache;
    bool FInitialized = false;
};

class TDPInfoProvider : public TBaseInfoProvider {
public:
    TDPInfoProvider();
    QString DPName() const { return FieldText(QStringLiteral("DPName")); }

protected:
    void InitSQL() override;
};

class TTagValueInfoProvider : public TBaseInfoProvider {
public:
    TTagValueInfoProvider();
    QString TagName() const { return FieldText(QStringLiteral("TagName")); }
    QString TagValue() const { return FieldText(QStringLiteral("TagValue")); }

protected:
    void InitSQL() override;
};
