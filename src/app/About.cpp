#include "app/About.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutFrm::TAboutFrm(QWidget* parent) : TBaseDialog(parent)
{
    setWindowTitle(QStringLiteral("信息"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(325, 249);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);

    auto* name = new QLabel(QStringLiteral("<span style='font-size:26pt; font-weight:bold; color:#1f5fa8'>启衡</span>"
                                           "<sup style='font-size:8pt; color:#1f5fa8'>TM</sup>"
                                           "&nbsp;&nbsp;<span style='font-size:20pt; font-weight:bold; color:#12305c'>S P C</span>"),
                            this);
    name->setTextFormat(Qt::RichText);
    layout->addWidget(name);
    auto* subtitle = new QLabel(QStringLiteral("统计过程控制工作站"), this);
    subtitle->setStyleSheet(QStringLiteral("color:#555"));
    layout->addWidget(subtitle);
    layout->addSpacing(10);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->addWidget(new QLabel(QStringLiteral("版  本  号"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("2.1    (2005-5-5)"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("电子邮件"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("support@qiheng-spc.cn"), this), 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    btnClose = new QPushButton(QStringLiteral("关 闭"), this);
    btnClose->setDefault(true);
    row->addWidget(btnClose);
    layout->addLayout(row);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}
