#pragma once
#include "component/BaseFrm.h"

// The about box: product name, version "2.1" "(2005-5-5)" and the support contact.
class TAboutFrm : public TBaseDialog {
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget* parent = nullptr);
    class QPushButton* btnClose;
};
