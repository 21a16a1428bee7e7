// Two workstations saving check results for the same control item at the same moment (a nightly
// script and an engineer, say): every stored exception keeps its own serial number.
#include "CliRun.h"
#include "TestDatabase.h"

#include "foundation/RecordUtils.h"

#include <QJsonArray>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <gtest/gtest.h>

TEST(ConcurrentResult, TwoSavesForOneItemDrawDistinctSerialNumbers)
{
    TTestDatabase db{TTestDatabase::TContent::Demo};
    // The item's days split in two halves, judged by two processes at once.
    const int cid = GetSQLValue("select CID from L_VControlItem where CCode = 'V001'").toInt();
    const QDate first = VariantToDateTime(GetSQLValue("select min(WDate) from D_VDM where CID = :C", {{"C", cid}})).date();
    const QDate last = VariantToDateTime(GetSQLValue("select max(WDate) from D_VDM where CID = :C", {{"C", cid}})).date();
    const QDate middle = first.addDays(first.daysTo(last) / 2);
    for (int round = 0; round < 3; ++round) {
        QProcess a, b;
        const QStringList common{"chart", "--db", db.Path(), "--item", "V001", "--type", "xbar-r", "--rules",
                                 "MT1,1;MT2,2", "--save-result"};
        a.start(QStringLiteral(QIHENG_SPC_CLI), common + QStringList{"--from", first.toString(Qt::ISODate), "--to", middle.toString(Qt::ISODate)});
        b.start(QStringLiteral(QIHENG_SPC_CLI),
                common + QStringList{"--from", middle.addDays(1).toString(Qt::ISODate), "--to", last.toString(Qt::ISODate)});
        int reported = 0;
        for (QProcess* p : {&a, &b}) {
            ASSERT_TRUE(p->waitForFinished(120000));
            ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
            const QJsonObject json = QJsonDocument::fromJson(p->readAllStandardOutput()).object();
            for (const QJsonValue& v : json["violations"].toArray()) reported += v["SN"].toArray().size();
        }
        ASSERT_GT(reported, 0) << "the rules must find something for the test to mean anything";
        // Every row stored, and no serial number shared by the two halves.
        EXPECT_EQ(GetSQLValue("select count(*) from D_Exception where CID = :C", {{"C", cid}}).toInt(), reported);
        QSet<int> before, after;
        QSqlQuery q = db.DM().Exec(
            "select a.JudgeSN, b.WDate from D_Exception a, D_VDM b where a.CID = b.CID and a.SN = b.SN and a.CID = :C", {{"C", cid}});
        while (q.next())
            (VariantToDateTime(q.value(1)).date() <= middle ? before : after).insert(q.value(0).toInt());
        EXPECT_FALSE(before.intersects(after)) << "round " << round;
    }
}
