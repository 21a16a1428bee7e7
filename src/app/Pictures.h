#pragma once
// The program's pictures, drawn in code so they stay sharp at any scale.
#include <QImage>

QImage SplashPicture(int width, int height);
QImage VersionPicture(int width, int height);
QImage MainBackgroundPicture(int width, int height);
// The navigation window's button pictures: 0 特性设置, 1 数据采集, 2 特性分析, 3 过程控制.
QImage NavigatePicture(int which, int size);
