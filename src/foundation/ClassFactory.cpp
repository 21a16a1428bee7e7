#include "foundation/ClassFactory.h"

#include <QCoreApplication>

namespace {
TClassFactory* g_factory = nullptr;

QObject* FindDepthFirst(QObject* object, const QByteArray& name)
{
    if (name == object->metaObject()->className()) return object;
    for (QObject* child : object->children())
        if (QObject* found = FindDepthFirst(child, name)) return found;
    return nullptr;
}
} // namespace

TClassFactory::~TClassFactory()
{
    if (g_factory == this) g_factory = nullptr;
}

TClassFactory* TClassFactory::Current()
{
    return g_factory;
}

void TClassFactory::SetCurrent(TClassFactory* factory)
{
    g_factory = factory;
}

void TClassFactory::RegisterFormClass(const TFormClass& Class)
{
    if (FindFormClass(Class.ClassName))
        throw EClassFactoryError(QStringLiteral("%1 Already Registered").arg(Class.ClassName));
    FClasses.append(Class);
}

void TClassFactory::RegisterFormClasses(const QList<TFormClass>& Classes)
{
    for (const TFormClass& c : Classes) RegisterFormClass(c);
}

const TFormClass* TClassFactory::FindFormClass(const QString& Name) const
{
    for (const TFormClass& c : FClasses)
        if (c.ClassName.compare(Name, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

const TFormClass& TClassFactory::FormClassByName(const QString& Name) const
{
    const TFormClass* c = FindFormClass(Name);
    if (!c) throw EClassFactoryError(QStringLiteral("%1 not Find").arg(Name));
    return *c;
}

QObjectList TClassFactory::ApplicationComponents() const
{
    QCoreApplication* app = QCoreApplication::instance();
    return app ? app->children() : QObjectList();
}

QObject* TClassFactory::FindFormInstance(const QString& Name) const
{
    const QByteArray name = Name.toUtf8();
    for (QObject* root : ApplicationComponents())
        if (QObject* found = FindDepthFirst(root, name)) return found;
    return nullptr;
}

QObject* TClassFactory::GetFormInstance(const QString& Name)
{
    if (QObject* open = FindFormInstance(Name)) return open;
    const TFormClass& c = FormClassByName(Name);
    if (!c.Create) throw EClassFactoryError(QStringLiteral("%1 not Find").arg(Name));
    QObject* instance = c.Create();
    // Owned by the application; widgets cannot be children of the application object and count
    // among its windows instead.
    if (instance && !instance->parent() && !instance->isWidgetType() && QCoreApplication::instance())
        instance->setParent(QCoreApplication::instance());
    return instance;
}
