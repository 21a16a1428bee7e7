#include "app/RunMode.h"

#include "component/DialogRunner.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "foundation/ServerConnection.h"
#include "foundation/Settings.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
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

    chbServer = new QCheckBox(QStringLiteral("服务器运行"), box);
    boxLayout->addWidget(chbServer);
    auto* serverText = new QLabel(QStringLiteral("服务器运行，数据存放在数据库服务器（PostgreSQL）上，供多台计算机同时使用。"), box);
    serverText->setContentsMargins(22, 0, 0, 6);
    boxLayout->addWidget(serverText);
    auto* serverForm = new QFormLayout;
    serverForm->setContentsMargins(22, 0, 0, 0);
    edtHost = new QLineEdit(box);
    edtPort = new QSpinBox(box);
    edtPort->setRange(1, 65535);
    edtDatabase = new QLineEdit(box);
    edtUser = new QLineEdit(box);
    edtPassword = new QLineEdit(box);
    edtPassword->setEchoMode(QLineEdit::Password);
    serverForm->addRow(QStringLiteral("服务器："), edtHost);
    serverForm->addRow(QStringLiteral("端口："), edtPort);
    serverForm->addRow(QStringLiteral("数据库："), edtDatabase);
    serverForm->addRow(QStringLiteral("用户名："), edtUser);
    serverForm->addRow(QStringLiteral("密码："), edtPassword);
    auto* testRow = new QHBoxLayout;
    btnTestConnection = new QPushButton(QStringLiteral("测试连接"), box);
    lblTestResult = new QLabel(box);
    lblTestResult->setWordWrap(true);
    testRow->addWidget(btnTestConnection);
    testRow->addWidget(lblTestResult, 1);
    serverForm->addRow(testRow);
    boxLayout->addLayout(serverForm);
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
    connect(chbServer, &QCheckBox::clicked, this, [this] {
        if (!FApplying) ApplyMode(3);
    });
    connect(btnTestConnection, &QPushButton::clicked, this, &TRunModeFrm::btnTestConnectionClick);
    connect(sbtSelectDir, &QToolButton::clicked, this, &TRunModeFrm::sbtSelectDirClick);
    connect(btnOk, &QPushButton::clicked, this, &TRunModeFrm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TRunModeFrm::ApplyMode(int mode)
{
    FApplying = true;
    const bool network = mode == 2;
    const bool server = mode == 3;
    chbSingle->setChecked(!network && !server);
    chbNetwork->setChecked(network);
    chbServer->setChecked(server);
    edtDirectory->setEnabled(network);
    sbtSelectDir->setEnabled(network);
    edtDirectory->setText(network ? FSettings.DBFileNetPath() : QString());
    const TServerConnection stored = FSettings.Server();
    for (QWidget* w : {static_cast<QWidget*>(edtHost), static_cast<QWidget*>(edtPort), static_cast<QWidget*>(edtDatabase),
                       static_cast<QWidget*>(edtUser), static_cast<QWidget*>(edtPassword),
                       static_cast<QWidget*>(btnTestConnection)})
        w->setEnabled(server);
    edtHost->setText(server ? stored.Host : QString());
    edtPort->setValue(stored.Port);
    edtDatabase->setText(server ? stored.Database : QString());
    edtUser->setText(server ? stored.User : QString());
    edtPassword->clear();
    lblTestResult->clear();
    FApplying = false;
}

int TRunModeFrm::Mode() const
{
    return chbServer->isChecked() ? 3 : chbNetwork->isChecked() ? 2 : 1;
}

TServerConnection TRunModeFrm::ServerFromFields() const
{
    return {edtHost->text(), edtPort->value(), edtDatabase->text(), edtUser->text(), edtPassword->text()};
}

void TRunModeFrm::btnTestConnectionClick()
{
    lblTestResult->setText(TestServerConnection(ServerFromFields()));
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
        if (Mode() == 3)
            StoreServerRunMode(FSettings, ServerFromFields(), chbNoDisplay->isChecked());
        else
            StoreRunMode(FSettings, chbNetwork->isChecked(), edtDirectory->text(), chbNoDisplay->isChecked());
    } catch (const ESystemError& e) {
        if (chbNetwork->isChecked() && edtDirectory->text().trimmed().isEmpty()) edtDirectory->setFocus();
        if (Mode() == 3) (edtHost->text().trimmed().isEmpty() ? edtHost : edtDatabase)->setFocus();
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
