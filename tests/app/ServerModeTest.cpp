// Run mode 3: the program on a PostgreSQL server — the run-mode dialog with its connection test,
// the password kept out of the settings file, a server database made by the command-line tool,
// and the start on it.
#include "CliRun.h"
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "app/Application.h"
#include "app/RunMode.h"
#include "app/ZIDIZMain.h"
#include "component/DialogRunner.h"
#include "foundation/DBUpgrade.h"
#include "foundation/ServerConnection.h"
#include "foundation/Settings.h"
#include "power/windows/Login.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QUrl>
#include <QUuid>
#include <gtest/gtest.h>

namespace {
// A database of its own on the private server, dropped afterwards.
class TServerDatabase {
public:
    TServerDatabase()
    {
        const QString admin = qEnvironmentVariable("QIHENG_SPC_PG_URL");
        if (admin.isEmpty()) return;
        FName = QStringLiteral("srv_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        FAdmin.Params.DBQ = admin;
        FAdmin.Connect();
        FAdmin.Exec(QStringLiteral("create database %1").arg(FName));
        QUrl url(admin);
        url.setPath(QLatin1Char('/') + FName);
        Url = url;
    }
    ~TServerDatabase()
    {
        if (FName.isEmpty()) return;
        FAdmin.Exec(QStringLiteral("drop database %1").arg(FName));
    }
    bool Available() const { return !FName.isEmpty(); }
    QUrl Url;

private:
    TCompanyDM FAdmin{QStringLiteral("server-admin")};
    QString FName;
};

// A click on the box itself (a stretched check box does not take clicks right of its text).
void Tick(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}
} // namespace

TEST(ServerMode, TheDialogRefusesAnIncompleteServer)
{
    TTestDatabase db;
    SPC_SQLITE_ONLY(db);  // the dialog itself; once is enough
    TAppSettings settings;
    TRunModeFrm dialog(settings);
    dialog.show();
    EXPECT_FALSE(dialog.edtHost->isEnabled());
    Tick(dialog.chbServer);
    EXPECT_TRUE(dialog.chbServer->isChecked());
    EXPECT_FALSE(dialog.chbSingle->isChecked());
    EXPECT_TRUE(dialog.edtHost->isEnabled());
    EXPECT_FALSE(dialog.edtDirectory->isEnabled());
    QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请指定数据库服务器的地址！"));
    EXPECT_EQ(dialog.focusWidget(), dialog.edtHost);
    Type(dialog.edtHost, QStringLiteral("db.example"));
    QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("请指定服务器上的数据库名称！"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(settings.RunMode(), 1);  // nothing written
    EXPECT_EQ(settings.DBQ(), QString());
    // Back to stand-alone: the server fields are off again.
    Tick(dialog.chbSingle);
    EXPECT_FALSE(dialog.edtHost->isEnabled());
    EXPECT_FALSE(dialog.chbServer->isChecked());
}

TEST(ServerMode, AServerDatabaseIsMadeTestedChosenAndStartedOn)
{
    if (TestEngineIsServer()) GTEST_SKIP() << "makes its own server database";
    TServerDatabase server;
    SPC_REQUIRE_SERVER(server);
    const QString url = server.Url.toString();
    // The command-line tool makes the schema on the empty database, once, and upgrades it.
    TCliRun made = RunCli(QStringLiteral(QIHENG_SPC_CLI), {"init-database", "--server", url, "--demo"});
    ASSERT_EQ(made.ExitCode, 0) << made.Err.toStdString();
    TCliRun again = RunCli(QStringLiteral(QIHENG_SPC_CLI), {"init-database", "--server", url});
    EXPECT_EQ(again.ExitCode, 1);
    EXPECT_TRUE(again.Err.contains(QStringLiteral("数据库中已有启衡SPC的数据表"))) << again.Err.toStdString();

    TTestDatabase local;  // settings file, messages and dialogs of the workstation
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
    {
        TAppSettings settings;
        TRunModeFrm dialog(settings);
        dialog.show();
        Tick(dialog.chbServer);
        Type(dialog.edtHost, server.Url.host());
        dialog.edtPort->setValue(server.Url.port());
        Type(dialog.edtDatabase, QStringLiteral("no_such_database"));
        Type(dialog.edtUser, server.Url.userName());
        Type(dialog.edtPassword, QStringLiteral("s3cret:pw"));
        QTest::mouseClick(dialog.btnTestConnection, Qt::LeftButton);
        EXPECT_TRUE(dialog.lblTestResult->text().startsWith(QStringLiteral("连接失败："))) << dialog.lblTestResult->text().toStdString();
        Type(dialog.edtDatabase, server.Url.path().mid(1));
        QTest::mouseClick(dialog.btnTestConnection, Qt::LeftButton);
        EXPECT_EQ(dialog.lblTestResult->text(), QStringLiteral("连接成功，数据库版本 1。"));
        Tick(dialog.chbNoDisplay);
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(settings.RunMode(), 3);
        EXPECT_EQ(settings.DBQ(), url);
    }
    // The password is kept in the client's own password file, readable by the user alone, and
    // nowhere in the settings file.
    QFile ini(qEnvironmentVariable("QIHENG_SPC_CONFIG"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ini.readAll().contains("s3cret"));
    QFile pass(ServerPasswordFile(TAppSettings()));
    ASSERT_TRUE(pass.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pass.readAll().contains("s3cret\\:pw"));
    EXPECT_EQ(pass.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());

    // The program starts on the server: the upgrade runs there and the administrator logs in.
    TApplicationShell shell;
    runner.Scripts << [](QDialog& d) {
        auto& login = dynamic_cast<TLoginFrm&>(d);
        login.NameEdit->setText(QStringLiteral("超级用户"));
        login.OkBtn->click();
    };
    ASSERT_EQ(shell.Start(), TApplicationShell::TStartResult::Started) << local.Messages.LastText().toStdString();
    EXPECT_EQ(shell.DM.Engine(), TDbEngine::PostgreSQL);
    EXPECT_EQ(DatabaseVersion(), QStringLiteral("2"));
    EXPECT_TRUE(shell.Power.IsAdmin());
    shell.MainWindow->AskOnClose = false;
}
