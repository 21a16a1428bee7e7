#include "power/UserPowerProvider.h"

#include "foundation/DataSet.h"
#include "power/UserPowerCommon.h"

void TWBAppPowerProvider::Load(TWBAppPower& list)
{
    BeforeLoad();
    TDataSet& ds = *FDataSet;
    TField* modID = ds.FieldByName(QStringLiteral("ModID"));
    TField* pData = ds.FieldByName(QStringLiteral("PData"));
    for (ds.First(); !ds.Eof(); ds.Next()) {
        auto item = std::make_unique<TWBModulePower>();
        item->SetKey(modID->AsInteger());
        // A NULL grant is no grant.
        item->SetPowerData(pData->IsNull() ? 0 : pData->AsInteger());
        list.Add(std::move(item));
    }
}

void TWBAppPowerProvider::Save(const TWBAppPower& list)
{
    BeforeSave();
    TDataSet& ds = *FDataSet;
    TField* modID = ds.FieldByName(QStringLiteral("ModID"));
    TField* pData = ds.FieldByName(QStringLiteral("PData"));
    ds.First();
    for (int i = 0; i < list.Count() && !ds.Eof(); ++i, ds.Next()) {
        const TWBModulePower* item = list.Module(i);
        if (modID->AsInteger() != item->GetKey()) continue;
        if (!pData->IsNull() && pData->AsInteger() == item->PowerData()) continue;
        ds.Edit();
        pData->SetAsInteger(item->PowerData());
        ds.Post();
    }
}
