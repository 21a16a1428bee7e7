#include "component/FormFactory.h"

#include <QApplication>

QObjectList TWidgetClassFactory::ApplicationComponents() const
{
    QObjectList components = TClassFactory::ApplicationComponents();
    for (QWidget* w : QApplication::topLevelWidgets()) components << w;
    return components;
}
