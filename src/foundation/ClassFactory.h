#pragma once
// The window factory: window classes registered by name, so that windows open other windows by
// class name, and an open window is found again instead of opened twice. The registry is here;
// the widget part (the application's top-level windows, creating widgets) is TWidgetClassFactory
// of the component library.
#include "foundation/Errors.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class EClassFactoryError : public ESystemError {
public:
    using ESystemError::ESystemError;
};

// A window class: its class name (as the meta-object reports it) and how to make an instance
// owned by the application.
struct TFormClass {
    QString ClassName;
    std::function<QObject*()> Create;
};

class TClassFactory {
public:
    TClassFactory() = default;
    virtual ~TClassFactory();
    TClassFactory(const TClassFactory&) = delete;
    TClassFactory& operator=(const TClassFactory&) = delete;

    // Refuses a class whose name (ignoring case) is registered already: "%s Already Registered".
    void RegisterFormClass(const TFormClass& Class);
    void RegisterFormClasses(const QList<TFormClass>& Classes);
    // The first registered class whose name equals Name ignoring case, or nullptr.
    const TFormClass* FindFormClass(const QString& Name) const;
    // As FindFormClass, failing with "%s not Find".
    const TFormClass& FormClassByName(const QString& Name) const;
    // Walks the application's components in order and, depth first, what each owns; the first
    // whose class name equals Name exactly, or nullptr.
    QObject* FindFormInstance(const QString& Name) const;
    // The open instance, else a new one of the registered class (owned by the application; the
    // caller shows it and frees a modal one).
    QObject* GetFormInstance(const QString& Name);
    int Count() const { return static_cast<int>(FClasses.size()); }
    const QList<TFormClass>& Classes() const { return FClasses; }

    // The factory the windows use (not owned); nullptr when none is installed.
    static TClassFactory* Current();
    static void SetCurrent(TClassFactory* factory);

protected:
    // The components owned by the application, in order: here the objects parented to the
    // application object.
    virtual QObjectList ApplicationComponents() const;

private:
    QList<TFormClass> FClasses;
};
