#include "app/Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
const QColor kBlue(0x1f, 0x5f, 0xa8);
const QColor kDeep(0x12, 0x2f, 0x5c);
const QColor kAccent(0xf0, 0x8c, 0x1e);

// A small control chart: centre line, limits and a wandering series with one point out of control.
void DrawMiniChart(QPainter& p, const QRectF& r, const QColor& line, const QColor& limits, bool alarm)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double cl = r.center().y();
    const double h = r.height() * 0.36;
    p.setPen(QPen(limits, 1.2, Qt::DashLine));
    p.drawLine(QPointF(r.left(), cl - h), QPointF(r.right(), cl - h));
    p.drawLine(QPointF(r.left(), cl + h), QPointF(r.right(), cl + h));
    p.setPen(QPen(limits, 1.2));
    p.drawLine(QPointF(r.left(), cl), QPointF(r.right(), cl));
    const double ys[] = {0.1, -0.35, 0.25, -0.1, 0.45, 0.05, -0.5, 0.2, 0.6, 1.25, 0.3, -0.2, 0.1, -0.4, 0.15};
    const int n = int(std::size(ys));
    QPainterPath path;
    for (int i = 0; i < n; ++i) {
        const QPointF pt(r.left() + r.width() * i / (n - 1), cl - ys[i] * h);
        if (i == 0) path.moveTo(pt); else path.lineTo(pt);
    }
    p.setPen(QPen(line, 2));
    p.drawPath(path);
    for (int i = 0; i < n; ++i) {
        const QPointF pt(r.left() + r.width() * i / (n - 1), cl - ys[i] * h);
        const bool out = alarm && std::abs(ys[i]) > 1.0;
        p.setBrush(out ? QColor(0xd9, 0x2b, 0x2b) : line);
        p.setPen(Qt::NoPen);
        p.drawEllipse(pt, out ? 4.5 : 3.0, out ? 4.5 : 3.0);
    }
    p.restore();
}
} // namespace

QImage SplashPicture(int width, int height)
{
    QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, kBlue);
    g.setColorAt(1, kDeep);
    p.fillRect(img.rect(), g);
    DrawMiniChart(p, QRectF(36, height * 0.52, width - 72, height * 0.28), QColor(255, 255, 255, 230),
                  QColor(255, 255, 255, 110), true);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(58);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(36, 48, width - 72, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("启衡SPC"));
    QFont sub(QStringLiteral("Noto Sans CJK SC"));
    sub.setPixelSize(20);
    p.setFont(sub);
    p.drawText(QRect(40, 128, width - 80, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("统计过程控制工作站"));
    p.setPen(QColor(255, 255, 255, 170));
    sub.setPixelSize(13);
    p.setFont(sub);
    p.drawText(QRect(40, 162, width - 80, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("控制图 · 过程能力 · 判异规则 · 异常处理"));
    p.setPen(QPen(kAccent, 3));
    p.drawLine(40, 196, 150, 196);
    p.setPen(QColor(255, 255, 255, 150));
    p.drawText(QRect(40, height - 44, 260, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("正在启动，请稍候……"));
    return img;
}

QImage VersionPicture(int width, int height)
{
    QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 255, 255, 36));
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 6, 6);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(height / 2);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("版本 2.1"));
    return img;
}

QImage MainBackgroundPicture(int width, int height)
{
    QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width, height);
    g.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    g.setColorAt(1, QColor(0xdc, 0xe6, 0xf2));
    p.fillRect(img.rect(), g);
    // A faint chart watermark in the lower right.
    DrawMiniChart(p, QRectF(width * 0.45, height * 0.55, width * 0.48, height * 0.3), QColor(0x1f, 0x5f, 0xa8, 60),
                  QColor(0x1f, 0x5f, 0xa8, 40), false);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(std::max(24, height / 12));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x1f, 0x5f, 0xa8, 50));
    p.drawText(QRect(0, int(height * 0.32), int(width * 0.95), height / 6), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("启衡SPC"));
    return img;
}

QImage NavigatePicture(int which, int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(0x2e, 0x7d, 0x32), QColor(0x1f, 0x5f, 0xa8), QColor(0x6a, 0x1b, 0x9a),
                              QColor(0xc6, 0x5a, 0x00)};
    const QColor c = colours[which & 3];
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, c.lighter(135));
    g.setColorAt(1, c);
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), size * 0.2, size * 0.2);
    p.setPen(QPen(Qt::white, size / 20.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const double s = size;
    switch (which) {
    case 0: {  // settings: a ruler with a gauge
        p.drawRect(QRectF(s * 0.22, s * 0.3, s * 0.56, s * 0.18));
        for (int i = 1; i < 6; ++i)
            p.drawLine(QPointF(s * (0.22 + 0.093 * i), s * 0.3), QPointF(s * (0.22 + 0.093 * i), s * (i % 2 ? 0.38 : 0.42)));
        p.drawArc(QRectF(s * 0.3, s * 0.52, s * 0.4, s * 0.4), 0, 180 * 16);
        p.drawLine(QPointF(s * 0.5, s * 0.72), QPointF(s * 0.62, s * 0.6));
        break;
    }
    case 1: {  // collection: a clipboard with lines
        p.drawRoundedRect(QRectF(s * 0.28, s * 0.22, s * 0.44, s * 0.58), 4, 4);
        p.drawLine(QPointF(s * 0.4, s * 0.2), QPointF(s * 0.6, s * 0.2));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(s * 0.36, s * (0.38 + 0.12 * i)), QPointF(s * 0.64, s * (0.38 + 0.12 * i)));
        break;
    }
    case 2: {  // analysis: a histogram
        const double hs[] = {0.18, 0.32, 0.46, 0.3, 0.14};
        for (int i = 0; i < 5; ++i)
            p.drawRect(QRectF(s * (0.22 + 0.115 * i), s * (0.76 - hs[i]), s * 0.09, s * hs[i]));
        p.drawLine(QPointF(s * 0.18, s * 0.78), QPointF(s * 0.82, s * 0.78));
        break;
    }
    default: {  // control: a control chart
        p.setPen(QPen(Qt::white, s / 40.0, Qt::DashLine));
        p.drawLine(QPointF(s * 0.18, s * 0.3), QPointF(s * 0.82, s * 0.3));
        p.drawLine(QPointF(s * 0.18, s * 0.7), QPointF(s * 0.82, s * 0.7));
        p.setPen(QPen(Qt::white, s / 20.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double ys[] = {0.52, 0.42, 0.58, 0.46, 0.55, 0.4};
        QPainterPath path;
        for (int i = 0; i < 6; ++i) {
            const QPointF pt(s * (0.2 + 0.12 * i), s * ys[i]);
            if (i == 0) path.moveTo(pt); else path.lineTo(pt);
        }
        p.drawPath(path);
        break;
    }
    }
    return img;
}
