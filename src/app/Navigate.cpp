#include "app/Navigate.h"

#include "app/Pictures.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

TFunctionLabel::TFunctionLabel(const QString& caption, const QString& actionName, QWidget* parent)
    : QLabel(caption, parent), ActionName(actionName)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QStringLiteral("color:#12305c"));
}

void TFunctionLabel::enterEvent(QEnterEvent* event)
{
    QFont f = font();
    f.setItalic(true);
    f.setUnderline(true);
    setFont(f);
    QLabel::enterEvent(event);
}

void TFunctionLabel::leaveEvent(QEvent* event)
{
    QFont f = font();
    f.setItalic(false);
    f.setUnderline(false);
    setFont(f);
    QLabel::leaveEvent(event);
}

void TFunctionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked(ActionName);
    QLabel::mouseReleaseEvent(event);
}

namespace {
QWidget* ProgramMainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("ZEDAVAdevAzu")) return w;
    return nullptr;
}
} // namespace

TNavigateFrm::TNavigateFrm(QWidget* mainWindow, QWidget* parent)
    : TBaseFrm(parent), FMainWindow(mainWindow ? mainWindow : ProgramMainWindow())
{
    setWindowTitle(QStringLiteral("导航图"));
    setFixedSize(580, 370);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xf7, 0xf7, 0xf7));  // 16250871
    setPalette(pal);

    ControlItemBtn = AddButton(QStringLiteral("ControlItemBtn"), QStringLiteral("特性设置"), 0, QPoint(24, 128),
                               {QStringLiteral("VControlItemAction"), QStringLiteral("AControlItemAction")});
    CollectBtn = AddButton(QStringLiteral("CollectBtn"), QStringLiteral("数据采集"), 1, QPoint(166, 128),
                           {QStringLiteral("VCollectAction"), QStringLiteral("ACollectAction")});
    AnlysisBtn = AddButton(QStringLiteral("AnlysisBtn"), QStringLiteral("特性分析"), 2, QPoint(308, 128),
                           {QStringLiteral("VControlItemAnlysisAction"), QStringLiteral("AControlItemAnlysisAction")});
    ControlBtn = AddButton(QStringLiteral("ControlBtn"), QStringLiteral("过程控制"), 3, QPoint(450, 128),
                           {QStringLiteral("VControlAction"), QStringLiteral("AControlAction")});

    // Master data around the flow: what each step draws on.
    AddLabel(QStringLiteral("Process"), QStringLiteral("过程资料"), QPoint(30, 36));
    AddLabel(QStringLiteral("DefectItem"), QStringLiteral("缺点类别"), QPoint(30, 62));
    AddLabel(QStringLiteral("DefectPhenomenon"), QStringLiteral("缺点项目"), QPoint(30, 88));
    AddLabel(QStringLiteral("Tag"), QStringLiteral("标签项目"), QPoint(172, 62));
    AddLabel(QStringLiteral("TagTemplate"), QStringLiteral("标签模板"), QPoint(172, 88));
    AddLabel(QStringLiteral("JudgeRule"), QStringLiteral("检测规则"), QPoint(314, 62));
    AddLabel(QStringLiteral("JudgeRuleTemplate"), QStringLiteral("检测规则模板"), QPoint(314, 88));
    AddLabel(QStringLiteral("Case"), QStringLiteral("异常原因"), QPoint(456, 272));
    AddLabel(QStringLiteral("Action"), QStringLiteral("改善措施"), QPoint(456, 298));
}

QToolButton* TNavigateFrm::AddButton(const QString& name, const QString& caption, int picture, const QPoint& at,
                                     const QStringList& actions)
{
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(QIcon(QPixmap::fromImage(NavigatePicture(picture, 96))));
    b->setIconSize(QSize(64, 64));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setGeometry(at.x(), at.y(), 106, 100);
    b->setMouseTracking(true);
    b->installEventFilter(this);
    auto* menu = new QMenu(b);
    menu->setObjectName(name + QStringLiteral("Menu"));
    for (const QString& actionName : actions) {
        if (auto* action = FMainWindow ? FMainWindow->findChild<QAction*>(actionName) : nullptr)
            menu->addAction(action);
    }
    connect(b, &QToolButton::clicked, this, [this, menu] { menu->popup(FLastMouse); });
    return b;
}

void TNavigateFrm::AddLabel(const QString& suffix, const QString& caption, const QPoint& at)
{
    auto* label = new TFunctionLabel(caption, suffix + QStringLiteral("Action"), this);
    label->setObjectName(QStringLiteral("FunctionLabel_") + suffix);
    label->move(at);
    label->adjustSize();
    connect(label, &TFunctionLabel::Clicked, this, &TNavigateFrm::RunAction);
}

bool TNavigateFrm::RunAction(const QString& actionName)
{
    auto* action = FMainWindow ? FMainWindow->findChild<QAction*>(actionName) : nullptr;
    if (!action) return false;
    action->trigger();
    return true;
}

QMenu* TNavigateFrm::MenuOf(QToolButton* button) const
{
    return button->findChild<QMenu*>();
}

bool TNavigateFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (event->type() == QEvent::MouseMove)
            FLastMouse = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        else
            FLastMouse = static_cast<QEnterEvent*>(event)->globalPosition().toPoint();
    }
    return TBaseFrm::eventFilter(watched, event);
}

void TNavigateFrm::paintEvent(QPaintEvent* event)
{
    TBaseFrm::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Arrows of the flow between the four steps, and a return arrow from control back to analysis.
    p.setPen(QPen(QColor(0x1f, 0x5f, 0xa8), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(0x1f, 0x5f, 0xa8));
    for (int i = 0; i < 3; ++i) {
        const int x0 = 24 + 106 + i * 142 + 4, x1 = x0 + 28, y = 170;
        p.drawLine(x0, y, x1 - 6, y);
        QPolygon head;
        head << QPoint(x1, y) << QPoint(x1 - 9, y - 6) << QPoint(x1 - 9, y + 6);
        p.drawPolygon(head);
    }
    p.setPen(QPen(QColor(0xc6, 0x5a, 0x00), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    QPainterPath back;
    back.moveTo(503, 232);
    back.cubicTo(503, 262, 361, 262, 361, 236);
    p.drawPath(back);
    p.setPen(QColor(0x66, 0x66, 0x66));
    p.drawText(QRect(300, 258, 150, 20), Qt::AlignCenter, QStringLiteral("持续改进"));
    // Group frames for the master data.
    p.setPen(QPen(QColor(0xc8, 0xd3, 0xe0), 1));
    p.drawRoundedRect(QRect(20, 24, 120, 92), 6, 6);
    p.drawRoundedRect(QRect(162, 50, 120, 66), 6, 6);
    p.drawRoundedRect(QRect(304, 50, 120, 66), 6, 6);
    p.drawRoundedRect(QRect(446, 260, 120, 66), 6, 6);
    QFont title = font();
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x12, 0x30, 0x5c));
    p.drawText(QRect(20, 340, 540, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("设置质量特性 → 采集数据 → 分析过程能力 → 监控过程，发现异常后记录原因与措施"));
}
