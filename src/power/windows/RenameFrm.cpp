#include "power/windows/RenameFrm.h"

#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "power/PowerManage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TRenameFrm::TRenameFrm(TUserPowerDM& dm, TPowerEntryKind kind, int id, const QString& code, const QString& name,
                       QWidget* parent)
    : TPowerDialog(parent), FDM(dm), FKind(kind), FID(id)
{
    setWindowTitle(QStringLiteral("重命名"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    // A user's name may be longer than a duty's: each keeps the width of its own column.
    CodeEdit = NewEdit(PowerCodeWidth(kind));
    NameEdit = NewEdit(PowerNameWidth(kind));
    CodeEdit->setText(code);
    NameEdit->setText(name);
    form->addRow(QStringLiteral("新编码："), CodeEdit);
    form->addRow(QStringLiteral("新名称："), NameEdit);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnOk = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    layout->addLayout(row);
    setMinimumWidth(320);
    connect(btnOk, &QPushButton::clicked, this, &TRenameFrm::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TRenameFrm::btnOkClick()
{
    try {
        CheckPowerEntryNames(FKind, CodeEdit->text(), NameEdit->text());
    } catch (const ESystemError& e) {
        ShowException(e);
        (CodeEdit->text().trimmed().isEmpty() ? CodeEdit : NameEdit)->setFocus();
        return;
    }
    const bool renamed = FKind == TPowerEntryKind::Duty ? FDM.RenameDuty(FID, CodeEdit->text(), NameEdit->text())
                                                        : FDM.RenameUser(FID, CodeEdit->text(), NameEdit->text());
    if (renamed) accept();
}
