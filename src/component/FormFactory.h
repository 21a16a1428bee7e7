#pragma once
// The widget part of the window factory: the application's windows are its top-level widgets and
// whatever they own, and window classes are made as parentless widgets.
#include "foundation/ClassFactory.h"

#include <QWidget>

class TWidgetClassFactory : public TClassFactory {
protected:
    // The objects parented to the application, then the top-level widgets.
    QObjectList ApplicationComponents() const override;
};

// The registration entry of a window class T (a QObject class with Q_OBJECT and a constructor
// taking no arguments or a parent).
template <class T>
TFormClass FormClassOf()
{
    return {QString::fromLatin1(T::staticMetaObject.className()), [] { return static_cast<QObject*>(new T()); }};
}
