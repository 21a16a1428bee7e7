// 数据备份 and 数据恢复 from the main window, with the file dialogs scripted.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "app/Backup.h"
#include "app/ZIDIZMain.h"
#include "component/BaseFrm.h"
#include "component/DialogRunner.h"
#include "foundation/DBUpgrade.h"
#include "foundation/DatabaseFile.h"
#include "foundation/RecordUtils.h"
#include "foundation/Schema.h"
#include "foundation/Settings.h"
#include "power/UserPowerCommon.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

namespace {
struct TBackupFixture {
    TTestDatabase db;
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
    TAppSettings settings;
    TWBUserPower power;
    std::unique_ptr<TZEDAVAdevAzu> main;
    QStringList proposed;  // what each file dialog offered

    TBackupFixture()
    {
        settings.SetDBQ(db.Path());
        power.LoadUser(1);
        main = std::make_unique<TZEDAVAdevAzu>(power, settings, db.DM());
        main->AskOnClose = false;
    }
    // The next file dialog picks path (nothing: it is cancelled).
    void Choose(const QString& path)
    {
        runner.Scripts << [this, path](QDialog& d) {
            auto& chooser = dynamic_cast<QFileDialog&>(d);
            proposed << chooser.directory().absolutePath() + QLatin1Char('|') +
                            (chooser.selectedFiles().isEmpty() ? QString() : chooser.selectedFiles().first());
            if (path.isEmpty()) {
                chooser.reject();
                return;
            }
            chooser.selectFile(path);
            static_cast<QDialog&>(chooser).accept();
        };
    }
    void Trigger(const char* action) { main->findChild<QAction*>(QLatin1String(action))->trigger(); }
    QString Backups() const { return db.DirPath() + QStringLiteral("/Backup"); }
};

int CaseCount()
{
    return GetSQLValue(QStringLiteral("select count(*) from L_Case")).toInt();
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}
} // namespace

TEST(Backup, CopiesTheDatabaseInUseIntoTheBackupFolder)
{
    TBackupFixture f;
    SPC_SQLITE_ONLY(f.db);
    ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'c1')"));
    ASSERT_FALSE(QDir(f.Backups()).exists());
    const QString target = f.Backups() + QStringLiteral("/monday.zoz");
    f.Choose(target);
    f.Trigger("BackupAction");
    // The folder is made and the dialog opens in it, on a name with today's date.
    EXPECT_TRUE(QDir(f.Backups()).exists());
    ASSERT_EQ(f.proposed.size(), 1);
    EXPECT_TRUE(f.proposed[0].startsWith(f.Backups() + QLatin1Char('|'))) << f.proposed[0].toStdString();
    EXPECT_TRUE(f.proposed[0].endsWith(QFileInfo(ProposedBackupName()).fileName())) << f.proposed[0].toStdString();
    EXPECT_TRUE(QFileInfo(ProposedBackupName()).fileName().contains(QDate::currentDate().toString("yyyyMMdd")));
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("备份成功！"));
    // A complete database of this program, holding what the open one held.
    ASSERT_TRUE(IsSystemDatabaseFile(target));
    TCompanyDM copy(QStringLiteral("copy"));
    copy.Params.DBQ = target;
    copy.Connect();
    EXPECT_EQ(copy.Exec(QStringLiteral("select count(*) from L_Case")).next(), true);
    QSqlQuery q = copy.Exec(QStringLiteral("select CaseCode from L_Case"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("c1"));
}

// Another workstation is in the middle of a save: the copy holds what was committed, complete and
// consistent, and the other's save goes through afterwards.
TEST(Backup, TheCopyOfADatabaseBeingWrittenIsComplete)
{
    TBackupFixture f;
    SPC_SQLITE_ONLY(f.db);
    ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'committed')"));
    const auto other = f.db.OpenSecondConnection(QStringLiteral("other"));
    other->StartTransaction();
    other->Exec(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (2, 'pending')"));
    const QString target = f.Backups() + QStringLiteral("/busy.zoz");
    f.Choose(target);
    f.Trigger("BackupAction");
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("备份成功！"));
    other->Commit();
    ASSERT_TRUE(IsSystemDatabaseFile(target));
    TCompanyDM copy(QStringLiteral("copy"));
    copy.Params.DBQ = target;
    copy.Connect();
    QSqlQuery q = copy.Exec(QStringLiteral("select CaseCode from L_Case order by CaseID"));
    QStringList codes;
    while (q.next()) codes << q.value(0).toString();
    EXPECT_EQ(codes, QStringList{"committed"});
    q = copy.Exec(QStringLiteral("pragma integrity_check"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("ok"));
    EXPECT_EQ(CaseCount(), 2);
}

TEST(Backup, AnExistingFileIsReplacedOnlyOnYes)
{
    TBackupFixture f;
    SPC_SQLITE_ONLY(f.db);
    QDir().mkpath(f.Backups());
    const QString target = f.Backups() + QStringLiteral("/old.zoz");
    WriteText(target, "old");
    f.Choose(target);
    f.db.Messages.Answers << TMsgResult::No;
    f.Trigger("BackupAction");
    EXPECT_EQ(ReadAll(target), QByteArray("old"));
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"目标文件已存在，是否覆盖？"});
    EXPECT_EQ(f.db.Messages.Messages.last().Caption, QStringLiteral("询问"));

    f.Choose(target);
    f.db.Messages.Answers << TMsgResult::Yes;
    f.Trigger("BackupAction");
    EXPECT_TRUE(IsSystemDatabaseFile(target));
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("备份成功！"));
    // Cancelled dialog: nothing happens.
    f.db.Messages.Messages.clear();
    f.Choose(QString());
    f.Trigger("BackupAction");
    EXPECT_TRUE(f.db.Messages.Messages.isEmpty());
}

TEST(Backup, AFailedCopyIsReportedAndLeavesNoFile)
{
    TBackupFixture f;
    SPC_SQLITE_ONLY(f.db);
    QDir().mkpath(f.Backups());
    WriteText(f.Backups() + QStringLiteral("/afile"), "x");
    const QString target = f.Backups() + QStringLiteral("/afile/sub/copy.zoz");  // below a file: cannot be made
    f.Choose(target);
    f.Trigger("BackupAction");
    EXPECT_TRUE(f.db.Messages.LastText().startsWith(QStringLiteral("备份失败！"))) << f.db.Messages.LastText().toStdString();
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(QDir(f.Backups()).entryList(QDir::Files), QStringList{"afile"});
}

TEST(Restore, PutsAnOlderBackupInPlaceKeepingTheReplacedFile)
{
    TBackupFixture f;
    SPC_SQLITE_ONLY(f.db);
    ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'now')"));
    const QString backup = f.Backups() + QStringLiteral("/v1.zoz");
    InitDatabaseFile(backup, false);  // a delivered database: schema version 1
    f.main->ShowNavigate();           // the navigation window may stay open
    f.Choose(backup);
    f.db.Messages.Answers << TMsgResult::Yes;
    f.Trigger("RestoreAction");
    EXPECT_EQ(f.db.Messages.Texts(),
              QStringList{QStringLiteral("是否确认恢复数据文件[%1]\n恢复后当前文件将被替换。").arg(backup)});
    ASSERT_TRUE(f.db.DM().Connected());
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("2"));
    EXPECT_EQ(CaseCount(), 0);
    // The replaced file is kept beside it, and nothing else is left there.
    EXPECT_TRUE(IsSystemDatabaseFile(f.db.Path() + QStringLiteral(".bak")));
    EXPECT_EQ(QDir(f.db.DirPath() + "/Data").entryList(QDir::Files),
              (QStringList{"MainData.mdb", "MainData.mdb.bak"}));
}

TEST(Restore, IsRefusedBeforeAnythingIsReplaced)
{
    TBackupFixture f;
    SPC_SQLITE_ONLY(f.db);
    ExecuteSQL(QStringLiteral("insert into L_Case (CaseID, CaseCode) values (1, 'now')"));
    const QByteArray before = ReadAll(f.db.Path());
    QDir().mkpath(f.Backups());
    const QString notOurs = f.Backups() + QStringLiteral("/notes.zoz");
    WriteText(notOurs, "not a database");
    const QString good = f.Backups() + QStringLiteral("/good.zoz");
    InitDatabaseFile(good, false);
    struct {
        const char* why;
        std::function<void()> arrange;
        QString choice;
        QString message;
    } cases[] = {
        {"a file that is not a database of this program", [] {}, notOurs,
         QStringLiteral("所选文件不是启衡SPC的数据文件，不能恢复！")},
        {"a data window is open", [&] {
             auto* w = new TBaseFrm;
             w->setObjectName(QStringLiteral("LProcessListFrm"));
             f.main->MdiArea->addSubWindow(w)->show();
         }, good, QStringLiteral("请关闭数据窗口后，再执行本操作！")},
        {"network mode: other workstations hold the file", [&] {
             for (QMdiSubWindow* s : f.main->MdiArea->subWindowList()) delete s;
             f.settings.SetRunMode(2);
         }, good, QStringLiteral("只有单机运行时才能恢复数据！")},
    };
    for (auto& c : cases) {
        c.arrange();
        f.db.Messages.Messages.clear();
        f.runner.Scripts.clear();
        f.Choose(c.choice);
        f.db.Messages.Answers = {TMsgResult::Yes};
        f.Trigger("RestoreAction");
        EXPECT_EQ(f.db.Messages.LastText(), c.message) << c.why;
        EXPECT_TRUE(f.db.DM().Connected()) << c.why;
        EXPECT_EQ(CaseCount(), 1) << c.why;
        EXPECT_FALSE(QFileInfo::exists(f.db.Path() + ".bak")) << c.why;
    }
    EXPECT_EQ(ReadAll(f.db.Path()), before);
}

// On the server the database belongs to the server's own backup, and other workstations hold it
// open: both are refused with a message, nothing is asked and no file is made.
TEST(Backup, OnTheServerBothAreRefused)
{
    TBackupFixture f;
    if (!f.db.IsServer()) GTEST_SKIP() << "about the server";
    const QString target = f.Backups() + QStringLiteral("/server.zoz");
    f.Choose(target);
    f.Trigger("BackupAction");
    EXPECT_TRUE(f.db.Messages.LastText().startsWith(QStringLiteral("备份失败！"))) << f.db.Messages.LastText().toStdString();
    EXPECT_FALSE(QFileInfo::exists(target));
    f.db.Messages.Messages.clear();
    f.Trigger("RestoreAction");
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{"只有单机运行时才能恢复数据！"});
    EXPECT_TRUE(f.db.DM().Connected());
}
