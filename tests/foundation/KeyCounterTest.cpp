#include "TestDatabase.h"

#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QSet>
#include <QProcess>
#include <gtest/gtest.h>

TEST(KeyCounter, NewNameStartsAtOneAndCounts)
{
    TTestDatabase db;
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("Brand new")), 1);
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("Brand new")), 2);
    EXPECT_EQ(GetModulePrimaryKey(4711), 1);
    EXPECT_EQ(GetModulePrimaryKey(4711), 2);
    EXPECT_EQ(GetModulePrimaryKey(4712), 1);
    // The upgrade seeds UserPower with 1, so the first user or duty gets 2.
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("UserPower")), 2);
    EXPECT_EQ(GetNewTaskID(), 1);
}

TEST(KeyCounter, NameWithQuotesIsItsOwnCounter)
{
    TTestDatabase db;
    const QString tricky = QStringLiteral("O'Brien' or '1'='1");
    EXPECT_EQ(GetPrimaryKey(tricky), 1);
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("List")), 1);
    EXPECT_EQ(GetPrimaryKey(tricky), 2);
    EXPECT_EQ(GetSQLValue(QStringLiteral("select KeyValue from S_Key where KeyName = :N"), {{"N", tricky}}).toInt(), 2);
}

TEST(KeyCounter, NullValueIsResetToOne)
{
    TTestDatabase db;
    ExecuteSQL(QStringLiteral("insert into S_Key (KeyName, KeyValue) values ('Empty', NULL)"));
    ExecuteSQL(QStringLiteral("insert into S_MKey (MID, KeyValue) values (77, NULL)"));
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("Empty")), 1);
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("Empty")), 2);
    EXPECT_EQ(GetModulePrimaryKey(77), 1);
}

TEST(KeyCounter, ABlockOfNumbersIsDrawnAtOnce)
{
    TTestDatabase db;
    EXPECT_EQ(GetModulePrimaryKeys(5, 4), 1);  // a new counter: 1 to 4
    EXPECT_EQ(GetModulePrimaryKey(5), 5);
    EXPECT_EQ(GetModulePrimaryKeys(5, 3), 6);  // 6 to 8
    EXPECT_EQ(GetModulePrimaryKey(5), 9);
    ExecuteSQL(QStringLiteral("insert into S_MKey (MID, KeyValue) values (78, NULL)"));
    EXPECT_EQ(GetModulePrimaryKeys(78, 10), 1);  // a counter holding no number restarts at 1
    EXPECT_EQ(GetModulePrimaryKey(78), 11);
    EXPECT_THROW(GetModulePrimaryKeys(5, 0), ESystemError);
    EXPECT_EQ(GetModulePrimaryKey(5), 10);  // the refused draw took nothing
}

TEST(KeyCounter, TwoConnectionsInAlternationNeverShareANumber)
{
    TTestDatabase db;
    auto second = db.OpenSecondConnection(QStringLiteral("second"));
    QSet<int> seen;
    for (int i = 0; i < 50; ++i) {
        TCompanyDM::SetCurrent(i % 2 ? second.get() : &db.DM());
        const int key = GetModulePrimaryKey(5);
        EXPECT_FALSE(seen.contains(key)) << key;
        seen.insert(key);
    }
    TCompanyDM::SetCurrent(&db.DM());
    EXPECT_EQ(seen.size(), 50);
    EXPECT_EQ(GetModulePrimaryKey(5), 51);
}

TEST(KeyCounter, TwoProcessesDrawingAtOnceNeverShareANumber)
{
    TTestDatabase db;
    constexpr int kPerProcess = 500;
    QProcess a, b;
    for (QProcess* p : {&a, &b})
        p->start(QStringLiteral(KEY_DRAWER), {db.Path(), QString::number(kPerProcess)});
    QSet<int> shared, owner;
    for (QProcess* p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        const QStringList lines = QString::fromLatin1(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), kPerProcess);
        for (const QString& line : lines) {
            const QStringList pair = line.split(' ');
            ASSERT_EQ(pair.size(), 2);
            EXPECT_FALSE(shared.contains(pair[0].toInt())) << "List number drawn twice: " << pair[0].toStdString();
            EXPECT_FALSE(owner.contains(pair[1].toInt())) << "owner number drawn twice: " << pair[1].toStdString();
            shared.insert(pair[0].toInt());
            owner.insert(pair[1].toInt());
        }
    }
    EXPECT_EQ(shared.size(), 2 * kPerProcess);
    EXPECT_EQ(owner.size(), 2 * kPerProcess);
    EXPECT_EQ(GetPrimaryKey(QStringLiteral("Shared")), 2 * kPerProcess + 1);
}
