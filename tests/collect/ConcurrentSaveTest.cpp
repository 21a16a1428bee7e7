// Two workstations keying subgroups into the same control item at the same time, through the
// collection's staging and save: every subgroup is stored, each with its own sample number.
#include "TestDatabase.h"

#include "foundation/RecordUtils.h"

#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

TEST(ConcurrentSave, TwoWorkstationsKeyingOneItemLoseNothing)
{
    TTestDatabase db;
    ExecuteSQL("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, nSigma) values (77, 'C77', '并发特性', 5, 1, 3)");
    constexpr int kPerProcess = 500;
    QProcess a, b;
    for (QProcess* p : {&a, &b})
        p->start(QStringLiteral(COLLECT_KEYER), {db.Path(), QStringLiteral("77"), QString::number(kPerProcess), QStringLiteral("25")});
    QSet<int> sns;
    for (QProcess* p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(300000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        const QStringList lines = QString::fromLatin1(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), kPerProcess);
        for (const QString& line : lines) {
            EXPECT_FALSE(sns.contains(line.toInt())) << "sample number saved twice: " << line.toStdString();
            sns.insert(line.toInt());
        }
    }
    EXPECT_EQ(sns.size(), 2 * kPerProcess);
    EXPECT_EQ(GetSQLValue("select count(*) from D_VDM where CID = 77").toInt(), 2 * kPerProcess);
    EXPECT_EQ(GetSQLValue("select count(distinct SN) from D_VDM where CID = 77").toInt(), 2 * kPerProcess);
    EXPECT_EQ(GetSQLValue("select count(*) from D_VDD where CID = 77").toInt(), 5 * 2 * kPerProcess);
    // Every subgroup is whole: five values, none missing.
    EXPECT_EQ(GetSQLValue("select count(*) from (select SN from D_VDD where CID = 77 group by SN having count(*) <> 5) bad")
                  .toInt(),
              0);
}
