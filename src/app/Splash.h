#pragma once
#include <QWidget>

// The splash window shown while the program starts: no border, 494 × 407, centred on the screen.
class TSplashFrm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashFrm(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage FPicture;
    QImage FVersion;
};
