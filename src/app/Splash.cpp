#include "app/Splash.h"

#include "app/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TSplashFrm::TSplashFrm(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("启动界面"));
    setFixedSize(494, 407);
    FPicture = SplashPicture(494, 407);
    FVersion = VersionPicture(151, 45);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplashFrm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(rect(), FPicture);
    p.drawImage(QPoint(310, 345), FVersion);
}
