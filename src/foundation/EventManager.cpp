#include "foundation/EventManager.h"

#include "foundation/Errors.h"

#include <QMetaMethod>

namespace {
bool SameEvent(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

TEventManager::~TEventManager()
{
    for (auto it = FInstalled.rbegin(); it != FInstalled.rend(); ++it) {
        if (!it->DataSet) continue;
        try {
            if (it->DataSet->EventByName(it->EventName) == it->Handler) UnhookEvent(it->DataSet, it->EventName);
        } catch (...) {
        }
    }
}

TDataSetNotifyEvent TEventManager::MethodByName(QObject* Window, const QString& MethodName)
{
    if (auto* published = dynamic_cast<TPublishedMethods*>(Window)) {
        TDataSetNotifyEvent m = published->PublishedMethod(MethodName);
        if (m) return m;
    }
    if (Window) {
        // Slots and invokable methods are the published methods of a Qt class.
        const QMetaObject* meta = Window->metaObject();
        const QByteArray signature = MethodName.toLatin1() + "(TDataSet*)";
        const int index = meta->indexOfMethod(signature.constData());
        if (index >= 0) {
            const QMetaMethod method = meta->method(index);
            QPointer<QObject> target(Window);
            return TDataSetNotifyEvent::WithCode(
                QByteArray("meta#") + meta->className() + '#' + QByteArray::number(index),
                [target, method](TDataSet* ds) {
                    if (target) method.invoke(target.data(), Qt::DirectConnection, Q_ARG(TDataSet*, ds));
                },
                Window);
        }
    }
    const QString className = Window ? QString::fromLatin1(Window->metaObject()->className()) : QString();
    RaiseError(QStringLiteral("未找到方法%1.%2。(方法必须在Published段)").arg(className, MethodName));
}

void TEventManager::HookEvent(TDataSet* DataSet, const QString& EventName, const TDataSetNotifyEvent& Handler)
{
    if (!DataSet) return;
    if (!Handler) RaiseError(QStringLiteral("指定的方法不存在。(方法必须在Published段)"));
    const TDataSetNotifyEvent current = DataSet->EventByName(EventName);
    if (current) {
        FHooks.push_back({DataSet, EventName, current});
        FHooks.push_back({DataSet, EventName, Handler});
    }
    DataSet->SetEventByName(EventName, Handler);
    FInstalled.push_back({DataSet, DataSet, EventName, Handler});
}

void TEventManager::UnhookEvent(TDataSet* DataSet, const QString& EventName)
{
    if (!DataSet) return;
    for (int i = static_cast<int>(FInstalled.size()) - 1; i >= 0; --i)
        if (FInstalled[i].Instance == DataSet && SameEvent(FInstalled[i].EventName, EventName)) {
            FInstalled.erase(FInstalled.begin() + i);
            break;
        }
    // The most recent pair of this data set and event: its first record is the handler before.
    for (int i = static_cast<int>(FHooks.size()) - 1; i >= 1; --i) {
        if (FHooks[i].Instance != DataSet || !SameEvent(FHooks[i].EventName, EventName)) continue;
        const TEventHookData previous = FHooks[i - 1];
        FHooks.erase(FHooks.begin() + (i - 1), FHooks.begin() + (i + 1));
        DataSet->SetEventByName(EventName, previous.Handler);
        return;
    }
    DataSet->SetEventByName(EventName, TDataSetNotifyEvent());
}

void TEventManager::CallPreviousHandler(TDataSet* Instance, const QString& EventName, TDataSet* Sender)
{
    if (!Instance) return;
    const TDataSetNotifyEvent current = Instance->EventByName(EventName);
    int i = static_cast<int>(FHooks.size()) - 1;
    for (; i >= 0; --i)
        if (FHooks[i].Instance == Instance && SameEvent(FHooks[i].EventName, EventName) &&
            FHooks[i].Handler.Code() == current.Code())
            break;
    for (--i; i >= 0; --i)
        if (FHooks[i].Instance == Instance && SameEvent(FHooks[i].EventName, EventName)) {
            const TDataSetNotifyEvent previous = FHooks[i].Handler;
            if (previous) previous(Sender);
            return;
        }
}
