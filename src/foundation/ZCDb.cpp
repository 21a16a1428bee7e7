#include "foundation/ZCDb.h"

TZCQuery::TZCQuery(QObject* parent) : TQuery(parent)
{
    FInternalUpdateSQL = new TUpdateSQL(this);
    FInternalUpdateSQL->setObjectName(QStringLiteral("InternalUpdateSQL"));
    SetUpdateObject(FInternalUpdateSQL);
}

TZCQuery::~TZCQuery()
{
    if (UpdateObject() == FInternalUpdateSQL) SetUpdateObject(nullptr);
    delete FInternalUpdateSQL;
}

void TZCQuery::SetActive(bool value)
{
    if (value) {
        if (!Active()) {
            FOpenCount = 0;
            TQuery::SetActive(true);
        }
        ++FOpenCount;
    } else {
        if (FOpenCount == 1) TQuery::SetActive(false);
        if (FOpenCount > 0) --FOpenCount;
    }
}
