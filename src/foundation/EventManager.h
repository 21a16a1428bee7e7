#pragma once
// The event manager: a window attaches its own handler to an event of a shared data set and later
// removes it again, and can still call the handler that was there before.
#include "foundation/DataSet.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <vector>

// Windows publish the data-set event handlers that may be hooked by name through this table.
// Without an entry, MethodByName looks for a slot or invokable method Name(TDataSet*).
class TPublishedMethods {
public:
    virtual ~TPublishedMethods() = default;
    // The handler of that name bound to this window; an empty handler when there is none.
    virtual TDataSetNotifyEvent PublishedMethod(const QString& name) = 0;
};

// A table of member functions for TPublishedMethods::PublishedMethod:
//   static const TMethodTable<TMyFrm> table{{"qryAfterPost", &TMyFrm::qryAfterPost}};
//   return table.Find(this, name);
template <class T>
class TMethodTable {
public:
    using TMember = void (T::*)(TDataSet*);
    TMethodTable(std::initializer_list<std::pair<const char*, TMember>> entries)
    {
        for (const auto& e : entries) FEntries.insert(QString::fromLatin1(e.first), e.second);
    }
    TDataSetNotifyEvent Find(T* object, const QString& name) const
    {
        const auto it = FEntries.constFind(name);
        return it == FEntries.constEnd() ? TDataSetNotifyEvent() : TDataSetNotifyEvent(object, it.value());
    }

private:
    QHash<QString, TMember> FEntries;
};

struct TEventHookData {
    TDataSet* Instance;
    QString EventName;
    TDataSetNotifyEvent Handler;
};

class TEventManager {
public:
    TEventManager() = default;
    // Hooks still in place are removed, so a shared data set never calls into a freed window.
    ~TEventManager();
    TEventManager(const TEventManager&) = delete;
    TEventManager& operator=(const TEventManager&) = delete;

    // The window's published handler of that name, bound to the window; fails with
    // "未找到方法%s.%s。(方法必须在Published段)".
    static TDataSetNotifyEvent MethodByName(QObject* Window, const QString& MethodName);

    // Installs Handler as the data set's event handler, remembering the one it replaces.
    void HookEvent(TDataSet* DataSet, const QString& EventName, const TDataSetNotifyEvent& Handler);
    // Puts back the handler that was in place before the most recent hook, or none.
    void UnhookEvent(TDataSet* DataSet, const QString& EventName);
    // Calls the handler that the current hook of the event replaced, if any.
    void CallPreviousHandler(TDataSet* Instance, const QString& EventName, TDataSet* Sender);

    const std::vector<TEventHookData>& Hooks() const { return FHooks; }

private:
    struct TInstalled {
        QPointer<TDataSet> DataSet;
        TDataSet* Instance;
        QString EventName;
        TDataSetNotifyEvent Handler;
    };
    std::vector<TEventHookData> FHooks;
    std::vector<TInstalled> FInstalled;  // every hook installed and not yet removed
};
