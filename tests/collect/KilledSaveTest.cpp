// A workstation killed in the middle of a save (power cut, task manager): the database holds the
// whole save or none of it, never a part, and stays sound.
#include "TestDatabase.h"

#include "foundation/RecordUtils.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

TEST(KilledSave, AKilledSaveLeavesAllOrNothing)
{
    TTestDatabase db;
    ExecuteSQL("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, nSigma) values (78, 'C78', '断电特性', 5, 1, 3)");
    constexpr int kSubgroups = 400;  // keyed, then written in one save
    int before = 0;
    // Killed at a later moment each time, so that some kills fall into the save itself.
    for (int delay : {150, 300, 450, 600, 800, 1000, 1300}) {
        QProcess keyer;
        keyer.start(QStringLiteral(COLLECT_KEYER), {db.Path(), QStringLiteral("78"), QString::number(kSubgroups),
                                                    QString::number(kSubgroups)});
        ASSERT_TRUE(keyer.waitForStarted());
        QThread::msleep(delay);
        keyer.kill();
        keyer.waitForFinished();
        const int now = GetSQLValue("select count(*) from D_VDM where CID = 78").toInt();
        EXPECT_TRUE(now == before || now == before + kSubgroups) << "a part of a save was stored: " << now - before
                                                                  << " subgroups, killed after " << delay << " ms";
        EXPECT_EQ(GetSQLValue("select count(*) from D_VDD where CID = 78").toInt(), 5 * now);
        before = now;
    }
    if (!db.IsServer()) {
        EXPECT_EQ(GetSQLString("pragma integrity_check"), QStringLiteral("ok"));
    }
}
