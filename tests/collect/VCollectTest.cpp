// The variable collection window driven through its grid: values keyed with the keyboard, blocks
// per subgroup, the order rule, staging and the save of several items in one transaction, chart
// windows following the keying, deleting subgroups and the closing question.
#include "CollectTestSupport.h"

#include "collect/windows/CollectGrid.h"
#include "collect/windows/TagInputFrm.h"
#include "collect/windows/VCollectFrm.h"
#include "engine/SPCChart.h"
#include "engine/windows/ChartFormManager.h"
#include "engine/windows/ChartPanel.h"
#include "engine/windows/VChartFrm.h"
#include "foundation/RecordUtils.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Keys a whole subgroup; the last Enter appends the next block.
void KeySubgroup(TBaseCollectFrm* frm, const QStringList& values)
{
    for (const QString& v : values) KeyIn(frm, v);
}

QStringList Values(int cid)
{
    QStringList values;
    QSqlQuery q = CurrentCompanyDM().Exec(
        QStringLiteral("select VResult from D_VDD where CID = :CID order by SN, SSN"), {{QStringLiteral("CID"), cid}});
    while (q.next()) values << FormatNumber(q.value(0).toDouble());
    return values;
}

int Subgroups(TCollectFixture& f, int cid)
{
    return f.Count(QStringLiteral("select count(*) from D_VDM where CID = %1").arg(cid));
}
} // namespace

TEST(VCollect, TwoItemsKeyedAndSavedInOneTransaction)
{
    TCollectFixture f;
    auto* frm = f.Open<TVCollectFrm>();
    ChooseItem(f, frm, ids::VDiameter);
    EXPECT_EQ(frm->edtItem->text(), QStringLiteral("活塞环直径"));
    ChooseTemplate(f, frm, ids::TemplateProduction);
    EXPECT_EQ(TagTexts(frm->TagInput), (QStringList{"班次=早班", "机台=1号机"}));
    ASSERT_EQ(frm->Grid->model()->rowCount(), 5);
    KeySubgroup(frm, {"74.01", "74.02", "73.99", "74.00", "74.03"});
    // The fifth Enter appended the next block and moved to its first row.
    ASSERT_EQ(frm->Grid->model()->rowCount(), 10);
    EXPECT_EQ(CurrentRow(frm), 5);
    EXPECT_EQ(CellText(frm, 0, "SGNo"), CellText(frm, 0, "SGNo"));
    EXPECT_FALSE(CellText(frm, 0, "SGNo").isEmpty());
    EXPECT_TRUE(CellText(frm, 1, "SGNo").isEmpty());  // the number heads its block only
    EXPECT_FALSE(CellText(frm, 0, "Date").isEmpty());  // an empty date becomes today
    EXPECT_EQ(f.VChanges, QList<int>{ids::VDiameter});  // the complete subgroup was announced

    ChooseItem(f, frm, ids::VJournal);
    ASSERT_EQ(frm->Grid->model()->rowCount(), 3);
    KeySubgroup(frm, {"50.1", "49.9", "50"});
    EXPECT_EQ(Subgroups(f, ids::VDiameter), 0);  // nothing is written before the save

    ClickSave(frm);
    EXPECT_EQ(f.db.Messages.Texts(), QStringList());
    EXPECT_EQ(Values(ids::VDiameter), (QStringList{"74.01", "74.02", "73.99", "74", "74.03"}));
    EXPECT_EQ(Values(ids::VJournal), (QStringList{"50.1", "49.9", "50"}));
    // The blocks appended last received no value: no subgroup rows for them.
    EXPECT_EQ(Subgroups(f, ids::VDiameter), 1);
    EXPECT_EQ(Subgroups(f, ids::VJournal), 1);
    EXPECT_EQ(f.Count(QStringLiteral("select count(*) from D_VDM where WDate is null")), 0);
    EXPECT_EQ(f.Count(QStringLiteral("select count(*) from D_Tag where CID = 101 and "
                                     "((TagID = 401 and TagValueID = 1) or (TagID = 402 and TagValueID = 1))")),
              2);
    EXPECT_EQ(f.Count(QStringLiteral("select count(*) from D_Tag")), 2);
    EXPECT_FALSE(frm->Collect().HasPendingChanges());
}
