#include "app/RunMode.h"

#include "component/DialogRunner.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "foundation/Settings.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TRunModeFrm::TRunModeFrm(TAppSettings& settings, QWidget* parent) : TBaseDialog(parent), FSettings(settings)
{
    setWindowTitle(QStringLiteral("运行模式设置"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请选择程序的运行模式："), this));

    auto* box = new QGroupBox(this);
    auto* boxLayout = new QVBoxLayout(box);
    chbSingle = new QCheckBox(QStringLiteral("单机运行"), box);
    boxLayout->addWidget(chbSingle);
    auto* singleText = new QLabel(QStringLiteral("单机运行，数据存放在本地计算机上。"), box);
    singleText->setContentsMargins(22, 0, 0, 6);
    boxLayout->addWidget(singleText);
    chbNetwork = new QCheckBox(QStringLiteral("联网运行"), box);
    boxLayout->addWidget(chbNetwork);
    auto* networkText = new QLabel(QStringLiteral("联网运行，数据存放在其它计算机上的可读写共享目录中。"), box);
    networkText->setContentsMargins(22, 0, 0, 6);
    boxLayout->addWidget(networkText);
    auto* dirLabel = new QLabel(QStringLiteral("数据库在网络中的存放位置："), box);
    dirLabel->setContentsMargins(22, 0, 0, 0);
    boxLayout->addWidget(dirLabel);
    auto* dirRow = new QHBoxLayout;
    dirRow->setContentsMargins(22, 0, 0, 0);
    edtDirectory = new QLineEdit(box);
    sbtSelectDir = new QToolButton(box);
    sbtSelectDir->setText(QStringLiteral("..."));
    dirRow->addWidget(edtDirectory, 1);
    dirRow->addWidget(sbtSelectDir);
    boxLayout->addLayout(dirRow);
    layout->addWidget(box);

    auto* bottom = new QHBoxLayout;
    chbNoDisplay = new QCheckBox(QStringLiteral("不再显示本窗口"), this);
    btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    bottom->addWidget(chbNoDisplay);
    bottom->addStretch(1);
    bottom->addWidget(btnOk);
    bottom->addWidget(btnCancel);
    layout->addLayout(bottom);
    setMinimumWidth(420);

    const int mode = FSettings.RunMode();
    chbNoDisplay->setChecked(FSettings.RunModeNoDisplay());
    ApplyMode(mode);

    connect(chbSingle, &QCheckBox::clicked, this, [this] {
        if (!FApplying) ApplyMode(1);
    });
    connect(chbNetwork, &QCheckBox::clicked, this, [this] {
        if (!FApplying) ApplyMode(2);
    });
    connect(sbtSelectDir, &QToolButton::clicked, this, &TRunModeFrm::sbtSelectDirClick);
    connect(btnOk, &QPushButton::clicked, this, &TRunModeFrm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TRunModeFrm::ApplyMode(int mode)
{
    FApplying = true;
    const bool network = mode == 2;
    chbSingle->setChecked(!network);
    chbNetwork->setChecked(network);
    edtDirectory->setEnabled(network);
    sbtSelectDir->setEnabled(network);
    edtDirectory->setText(network ? FSettings.DBFileNetPath() : QString());
    FApplying = false;
}

void TRunModeFrm::sbtSelectDirClick()
{
    QString folder;
    if (SelectNetworkFolder(QStringLiteral("选择目录"), folder, this) && FolderHoldsDatabase(folder))
        edtDirectory->setText(folder);
    else
        ShowInfo(QStringLiteral("请选择正确的目录！"));
}

void TRunModeFrm::btnOkClick()
{
    try {
        StoreRunMode(FSettings, chbNetwork->isChecked(), edtDirectory->text(), chbNoDisplay->isChecked());
    } catch (const ESystemError& e) {
        if (chbNetwork->isChecked() && edtDirectory->text().trimmed().isEmpty()) edtDirectory->setFocus();
        ShowException(e);
        return;
    }
    accept();
}

bool SelectRunMode(TAppSettings& settings, bool fromMenu, QWidget* parent)
{
    if (!RunModeDialogWanted(settings, fromMenu)) return true;
    TRunModeFrm dialog(settings, parent);
    return RunDialog(dialog) == QDialog::Accepted;
}

bool SelectNetworkFolder(const QString& title, QString& path, QWidget* parent)
{
    path = NormalizePresetFolder(path);
    QFileDialog dialog(parent, title, path);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (RunDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
}
