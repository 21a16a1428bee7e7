#include "power/PowerGrid.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"
#include "foundation/Types.h"
#include "power/UserPowerDM.h"

#include <QHash>
#include <QSqlQuery>

namespace {
int IntOf(const TDataSet& ds, const char* field)
{
    return VariantToInt(ds.Value(QLatin1String(field)));
}

bool HasBit(int data, TPowerKind kind)
{
    return (data & PowerKindBit(kind)) != 0;
}

// A duty's rights per module, from the rows of SP_DutyPower.
QHash<int, int> DutyRights(TCompanyDM& db, int dutyID)
{
    QHash<int, int> rights;
    QSqlQuery q = db.Exec(TUserPowerDM::SelectText(TUserPowerDM::DutyPower), {{QStringLiteral("DutyID"), dutyID}});
    while (q.next()) rights.insert(VariantToInt(q.value(QStringLiteral("ModID"))), VariantToInt(q.value(QStringLiteral("PData"))));
    return rights;
}

bool IsAdminDuty(int dutyID)
{
    return GetSQLValue(QStringLiteral("select count(ID) from SP_Duty where ID = :ID and IsAdmin = 1"),
                       {{QStringLiteral("ID"), dutyID}}).toInt() == 1;
}
} // namespace

TPowerKind TPowerGrid::KindOfColumn(int column)
{
    if (!IsKindColumn(column)) throw ESystemError(QStringLiteral("权限类型的序号未启用！"));
    return PowerKindColumnOrder().at(column - FirstKindColumn);
}

int TPowerGrid::ColumnOfKind(TPowerKind kind)
{
    return FirstKindColumn + static_cast<int>(PowerKindColumnOrder().indexOf(kind));
}

QString TPowerGrid::ColumnTitle(int column)
{
    if (column == ModNameColumn) return QStringLiteral("模块");
    if (column == SelectedColumn) return QStringLiteral("选中");
    return PowerKindCaption(KindOfColumn(column));
}

TPowerGrid::TPowerGrid(TUserPowerDM& dm) : FDM(dm) {}

void TPowerGrid::LoadModules()
{
    FRows.clear();
    FGroup.Clear();
    TZCQuery& q = FDM.qryModule();
    if (q.Active()) q.Refresh();
    else q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        TPowerGridRow row;
        row.TypeID = IntOf(q, "TypeID");
        row.ModID = IntOf(q, "ID");
        row.ModName = q.FieldByName(QStringLiteral("Name"))->AsString();
        const int own = IntOf(q, "PowerDefData");
        const int type = IntOf(q, "TypePowerDefData");
        row.PowerDefData = own != 0 && own != NullValue ? own : (type == NullValue ? 0 : type);
        FRows.append(row);
    }
    ClearTarget();
}

int TPowerGrid::RowOfModule(int modID) const
{
    for (int i = 0; i < RowCount(); ++i)
        if (FRows[i].ModID == modID) return i;
    return -1;
}

void TPowerGrid::BeginLoad(int targetID, bool isUser, bool isAdmin)
{
    FTargetID = targetID;
    FTargetIsUser = isUser;
    FTargetIsAdmin = isAdmin;
    FModified = false;
    for (TPowerGridRow& row : FRows) row.PowerData = row.DutyPowerData = 0;
}

void TPowerGrid::EndLoad()
{
    // The group's members carry the new target's rights.
    FGroup.Clear();
    for (const TPowerGridRow& row : FRows)
        if (row.Selected) FGroup.AddModule(row.ModID, row.PowerData);
}

void TPowerGrid::LoadDuty(int dutyID)
{
    const bool admin = IsAdminDuty(dutyID);
    BeginLoad(dutyID, false, admin);
    TZCQuery& q = FDM.qryDutyPower();
    TUserPowerDM::OpenWith(q, QStringLiteral("DutyID"), dutyID);
    if (admin) {
        for (TPowerGridRow& row : FRows) row.PowerData = AdminPowerData;
    } else {
        for (q.First(); !q.Eof(); q.Next()) {
            const int r = RowOfModule(IntOf(q, "ModID"));
            if (r >= 0) FRows[r].PowerData = IntOf(q, "PData");
        }
    }
    EndLoad();
}

void TPowerGrid::LoadUser(int userID)
{
    const bool admin = GetSQLValue(QStringLiteral("select count(ID) from SP_User where ID = :ID and IsAdmin = 1"),
                                   {{QStringLiteral("ID"), userID}}).toInt() == 1;
    BeginLoad(userID, true, admin);
    TZCQuery& q = FDM.qryUserPower();
    TUserPowerDM::OpenWith(q, QStringLiteral("UserID"), userID);
    for (q.First(); !q.Eof(); q.Next()) {
        const int r = RowOfModule(IntOf(q, "ModID"));
        if (r >= 0) FRows[r].PowerData = IntOf(q, "PData");
    }
    TZCQuery& duties = FDM.qryUserDuty();
    TUserPowerDM::OpenWith(duties, QStringLiteral("UserID"), userID);
    for (duties.First(); !duties.Eof(); duties.Next()) {
        const int dutyID = IntOf(duties, "DutyID");
        if (IsAdminDuty(dutyID)) {
            // An administrator duty grants everything each module offers.
            for (TPowerGridRow& row : FRows) row.DutyPowerData |= row.PowerDefData;
            break;
        }
        const QHash<int, int> rights = DutyRights(FDM.Database(), dutyID);
        for (TPowerGridRow& row : FRows) row.DutyPowerData |= rights.value(row.ModID, 0);
    }
    EndLoad();
}

void TPowerGrid::ClearTarget()
{
    BeginLoad(0, false, false);
    EndLoad();
}

QList<int> TPowerGrid::VisibleRows() const
{
    QList<int> rows;
    for (int i = 0; i < RowCount(); ++i)
        if (RowVisible(i)) rows.append(i);
    return rows;
}

bool TPowerGrid::Defined(int row, TPowerKind kind) const
{
    return HasBit(FRows.at(row).PowerDefData, kind);
}

bool TPowerGrid::Shown(int row, TPowerKind kind) const
{
    const TPowerGridRow& r = FRows.at(row);
    return HasBit(r.PowerData | r.DutyPowerData, kind);
}

bool TPowerGrid::Shaded(int row, TPowerKind kind) const
{
    return !Defined(row, kind) || (FTargetIsUser && HasBit(FRows.at(row).DutyPowerData, kind));
}

bool TPowerGrid::Editable(int row, TPowerKind kind) const
{
    return HasTarget() && !FTargetIsAdmin && !Shaded(row, kind);
}

void TPowerGrid::SetPowerData(int row, int data)
{
    TPowerGridRow& r = FRows[row];
    if (r.PowerData == data) return;
    r.PowerData = data;
    FModified = true;
    if (r.Selected)
        if (TWBPower* member = FGroup.ModulePower(r.ModID)) member->PowerData = data;
}

void TPowerGrid::SetSelected(int row, bool value)
{
    TPowerGridRow& r = FRows[row];
    if (r.Selected == value) return;
    r.Selected = value;
    if (value) {
        FGroup.AddModule(r.ModID, r.PowerData);
    } else {
        const int index = FGroup.IndexOfInt(r.ModID);
        if (index >= 0) FGroup.Delete(index);
    }
}

bool TPowerGrid::ClickCell(int row, int column)
{
    if (row < 0 || row >= RowCount()) return false;
    if (column == SelectedColumn) {
        SetSelected(row, !FRows[row].Selected);
        return true;
    }
    if (!IsKindColumn(column)) return false;
    const TPowerKind kind = KindOfColumn(column);
    if (!Editable(row, kind)) return false;
    TWBPower power;
    power.PowerData = FRows[row].PowerData;
    power.SetPower(kind, !power.HasPower(kind));
    SetPowerData(row, power.PowerData);
    return true;
}

bool TPowerGrid::Grant(TPowerKind kind, bool value)
{
    bool anySelected = false;
    for (int row : VisibleRows()) {
        if (!FRows[row].Selected) continue;
        anySelected = true;
        if (!Editable(row, kind)) continue;
        TWBPower power;
        power.PowerData = FRows[row].PowerData;
        power.SetPower(kind, value);
        SetPowerData(row, power.PowerData);
    }
    return anySelected;
}

void TPowerGrid::SelectAll()
{
    for (int row : VisibleRows()) SetSelected(row, true);
}

void TPowerGrid::SelectNone()
{
    for (int row : VisibleRows()) SetSelected(row, false);
}

void TPowerGrid::InvertSelection()
{
    for (int row : VisibleRows()) SetSelected(row, !FRows[row].Selected);
}

bool TPowerGrid::GrantDown(TPowerKind kind)
{
    return FGroup.GetCommonPower().HasPower(kind);
}

void TPowerGrid::Save()
{
    if (!HasTarget() || !FModified) return;
    TZCQuery& q = FTargetIsUser ? FDM.qryUserPower() : FDM.qryDutyPower();
    const QString owner = FTargetIsUser ? QStringLiteral("UserID") : QStringLiteral("DutyID");
    for (const TPowerGridRow& row : FRows) {
        if (q.Locate(QStringLiteral("ModID"), row.ModID)) {
            if (IntOf(q, "PData") == row.PowerData) continue;
            q.Edit();
        } else {
            q.Append();
            q.FieldByName(owner)->SetAsInteger(FTargetID);
            q.FieldByName(QStringLiteral("ModID"))->SetAsInteger(row.ModID);
        }
        q.FieldByName(QStringLiteral("PData"))->SetAsInteger(row.PowerData);
        q.Post();
    }
    if (!FDM.ApplyUpdatesInTransaction({&q})) throw ESystemError(QStringLiteral("数据保存失败！"));
    FModified = false;
}
