#include "app/Backup.h"

#include "component/DialogRunner.h"
#include "foundation/CompanyDM.h"
#include "foundation/DBUpgrade.h"
#include "foundation/DatabaseFile.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "foundation/Settings.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("启衡数据 (*.zoz)");

// The file chosen in the backup folder, or empty when the dialog was cancelled.
QString ChooseBackupFile(QFileDialog::AcceptMode mode, const QString& proposed, QWidget* parent)
{
    QFileDialog dialog(parent, QString(), GetBackupPath(), kFilter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("zoz"));
    // The overwrite question is the program's own.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
    if (RunDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}
} // namespace

QString ProposedBackupName()
{
    return GetBackupPath() + QStringLiteral("/Data") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".zoz");
}

void Backup(TCompanyDM& dm, QWidget* parent)
{
    QDir().mkpath(GetBackupPath());
    const QString target = ChooseBackupFile(QFileDialog::AcceptSave, ProposedBackupName(), parent);
    if (target.isEmpty()) return;
    if (dm.Engine() == TDbEngine::SQLite && !QFileInfo::exists(dm.Params.DBQ)) {
        ShowInfo(QStringLiteral("原文件不存在，备份失败！"));
        return;
    }
    if (QFileInfo::exists(target) &&
        AskQuestion(QStringLiteral("目标文件已存在，是否覆盖？")) != TMsgResult::Yes)
        return;
    BackupDatabase(dm, target);
    ShowInfo(QStringLiteral("备份成功！"));
}

bool Restore(TCompanyDM& dm, TAppSettings& settings, const QStringList& openWindows, QWidget* parent)
{
    // Other workstations hold a shared database open: replacing it under them would corrupt their work.
    if (dm.Engine() != TDbEngine::SQLite || settings.RunMode() == 2) {
        ShowInfo(QStringLiteral("只有单机运行时才能恢复数据！"));
        return true;
    }
    for (const QString& name : openWindows) {
        if (name != QLatin1String("NavigateFrm") && name != QLatin1String("ZEDAVAdevAzu")) {
            ShowInfo(QStringLiteral("请关闭数据窗口后，再执行本操作！"));
            return true;
        }
    }
    const QString source = ChooseBackupFile(QFileDialog::AcceptOpen, QString(), parent);
    if (source.isEmpty()) return true;
    if (!IsSystemDatabaseFile(source)) {
        ShowInfo(QStringLiteral("所选文件不是启衡SPC的数据文件，不能恢复！"));
        return true;
    }
    if (AskQuestion(QStringLiteral("是否确认恢复数据文件[%1]\n恢复后当前文件将被替换。").arg(source)) != TMsgResult::Yes)
        return true;
    const QString database = dm.Params.DBQ;
    dm.Disconnect();
    QString failure;
    try {
        ReplaceDatabaseFile(database, source);
    } catch (const ESystemError& e) {
        failure = e.Message();
    }
    // The database is opened again in every outcome: the restored file, or the old one if the
    // replacement failed.
    try {
        dm.ConnectWithFallback();
    } catch (const ESystemError&) {
        ShowErrorBox(QStringLiteral("数据连接失败，程序将关闭！"));
        return false;
    }
    if (!failure.isEmpty()) RaiseError(failure);
    UpgradeDatabase();
    return true;
}
