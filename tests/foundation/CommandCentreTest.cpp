#include "foundation/ClassFactory.h"
#include "foundation/CommandCentre.h"
#include "foundation/EventManager.h"
#include "TestHelpers.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>

// Stand-ins for windows: the factory and the event manager only need their class names and
// published methods.
class TVChartFrm : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
};

class TLProcessListFrm : public QObject, public TPublishedMethods {
    Q_OBJECT
public:
    using QObject::QObject;
    QStringList Calls;
    void qryAfterPost(TDataSet*) { Calls << "table"; }
    TDataSetNotifyEvent PublishedMethod(const QString& name) override
    {
        static const TMethodTable<TLProcessListFrm> table{{"qryAfterPost", &TLProcessListFrm::qryAfterPost}};
        return table.Find(this, name);
    }
public slots:
    void qryAfterScroll(TDataSet*) { Calls << "slot"; }
};

namespace {
struct THandler {
    int Calls = 0;
    QVariant Seen;
    void Run(TCommandParams& params, void* data)
    {
        ++Calls;
        Seen = params.FindParam(QStringLiteral("ID"))->Value;
        *static_cast<int*>(data) += 1;
        params.Owner()->SetParamValue(QStringLiteral("Name"), QStringLiteral("过程1"));
    }
};

// A memory table with one integer field, open.
std::unique_ptr<TMemTable> Table()
{
    auto t = std::make_unique<TMemTable>();
    t->AddFieldDef(QStringLiteral("ID"), TFieldType::Integer);
    t->CreateDataSet();
    return t;
}

struct TCalls {
    QStringList Log;
    void Old(TDataSet*) { Log << "old"; }
    void Hook(TDataSet*) { Log << "hook"; }
};
} // namespace

// --- Command centre ---------------------------------------------------------------------------

TEST(CommandCentre, OnlyOneInstance)
{
    TCommandCenter center;
    EXPECT_EQ(TCommandCenter::Instance(), &center);
    EXPECT_EQ(MessageOf([] { TCommandCenter second; }), QStringLiteral("只容许创建一个实例"));
    EXPECT_EQ(TCommandCenter::Instance(), &center);
}

TEST(CommandCentre, RegisterFindExecute)
{
    TCommandCenter center;
    THandler handler;
    TCommand* cmd = center.RegisterCommand(nullptr, "SelectProcess", true, TCommandEvent(&handler, &THandler::Run));
    EXPECT_EQ(center.FindCommand("SelectProcess"), cmd);
    EXPECT_EQ(center.FindCommand("selectprocess"), nullptr);  // command names are case-sensitive
    EXPECT_EQ(MessageOf([&] { center.CommandByName("SelectNothing"); }), QStringLiteral("Command:SelectNothing not find"));

    // The caller's pattern: data, inputs, execute, outputs.
    int data = 0;
    cmd->SetData(&data);
    cmd->SetParamValue("ID", 5);
    cmd->SetParamValue("id", 6);  // the same parameter
    EXPECT_EQ(cmd->Params().Count(), 1);
    center.CommandByName("SelectProcess")->Execute();
    EXPECT_EQ(handler.Calls, 1);
    EXPECT_EQ(handler.Seen.toInt(), 6);
    EXPECT_EQ(data, 1);
    EXPECT_EQ(cmd->GetParamValue("NAME").toString(), QStringLiteral("过程1"));
    EXPECT_EQ(MessageOf([&] { cmd->GetParamValue("UnSelected"); }), QStringLiteral("UnSelected is not find"));
    EXPECT_EQ(cmd->Params().Owner(), cmd);

    // Copying parameters copies the items.
    TCommandParams copy;
    copy.Assign(cmd->Params());
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Owner(), nullptr);

    TCommand* bare = center.RegisterCommand(nullptr, "NoHandler", false, {});
    EXPECT_EQ(MessageOf([&] { bare->Execute(); }), QStringLiteral("NoHandler 被错误的调用。（未给OnExcute赋值）"));
}

TEST(CommandCentre, SingleNamesAreUnique)
{
    TCommandCenter center;
    center.RegisterCommand(nullptr, "MSelectCase", true, {});
    EXPECT_EQ(MessageOf([&] { center.RegisterCommand(nullptr, "MSelectCase", true, {}); }),
              QStringLiteral("已存在同名的Command: MSelectCase"));
    EXPECT_EQ(center.Count(), 1);
    // A command that is not single may share the name; the first registered is found.
    TCommand* second = center.RegisterCommand(nullptr, "MSelectCase", false, {});
    EXPECT_EQ(center.Count(), 2);
    EXPECT_NE(center.FindCommand("MSelectCase"), second);
    EXPECT_EQ(MessageOf([&] { second->SetSingle(true); }), QStringLiteral("已存在同名的Command: MSelectCase"));
    // Renaming a single command onto a taken name is refused with that name.
    TCommand* action = center.RegisterCommand(nullptr, "MSelectAction", true, {});
    EXPECT_EQ(MessageOf([&] { action->SetCommandName("MSelectCase"); }), QStringLiteral("已存在同名的Command: MSelectCase"));
    EXPECT_EQ(action->CommandName(), QStringLiteral("MSelectAction"));
    action->SetCommandName("MSelectAction2");
    EXPECT_EQ(center.FindCommand("MSelectAction2"), action);
}

TEST(CommandCentre, UnregisterTakesTheLastOfTheNameAndOwnersFreeTheirCommands)
{
    TCommandCenter center;
    TCommand* first = center.RegisterCommand(nullptr, "VDataChange", false, {});
    TCommand* last = center.RegisterCommand(nullptr, "VDataChange", false, {});
    center.UnregisterCommand("VDataChange");
    EXPECT_EQ(center.Count(), 1);
    EXPECT_EQ(center.FindCommand("VDataChange"), first);
    EXPECT_EQ(last->CommandName(), QStringLiteral("VDataChange"));  // not freed
    center.UnregisterCommand("VDataChange");
    center.UnregisterCommand("VDataChange");
    EXPECT_EQ(center.FindCommand("VDataChange"), nullptr);
    {
        QObject window;
        center.RegisterCommand(&window, "ADataChange", true, {});
        EXPECT_NE(center.FindCommand("ADataChange"), nullptr);
    }
    // Freed with its owner, it is no longer registered.
    EXPECT_EQ(center.FindCommand("ADataChange"), nullptr);
}

TEST(CommandCentre, CommandOutlivingTheCentreForgetsIt)
{
    QObject owner;
    TCommand* command = nullptr;
    {
        TCommandCenter center;
        command = center.RegisterCommand(&owner, "Late", true, {});
    }
    command->SetCommandName("Later");
    EXPECT_EQ(owner.children().size(), 1);
    EXPECT_EQ(TCommandCenter::Instance(), nullptr);
}

TEST(CommandCentre, MultiSelectData)
{
    TCommandCenter center;
    auto selections = Table();
    selections->AppendRecord({3});
    QStringList seen;
    auto cmd = center.RegisterCommand(nullptr, "MSelectCase", true,
                                      TCommandEvent::FromCallable([&](TCommandParams& params, void* data) {
                                          auto* d = static_cast<TMultiSelectData*>(data);
                                          seen << params.Owner()->GetParamValue("SelectedKeyField").toString();
                                          d->Callback(d->DataSet, QStringLiteral("CaseID"));
                                      }));
    TMultiSelectData data;
    data.DataSet = selections.get();
    data.Callback = TMultiSelectCallback::FromCallable([&](TDataSet* ds, const QString& key) {
        seen << key << QString::number(ds->RecordCount());
    });
    cmd->SetData(&data);
    cmd->SetParamValue("SelectedKeyField", "CaseID");
    cmd->Execute();
    EXPECT_EQ(seen, QStringList({"CaseID", "CaseID", "1"}));
}

// --- Window factory ---------------------------------------------------------------------------

TEST(ClassFactory, RegisterAndFindClasses)
{
    TClassFactory factory;
    int made = 0;
    factory.RegisterFormClasses({{"TVChartFrm", [&] { ++made; return new TVChartFrm; }},
                                 {"TLProcessListFrm", [] { return new TLProcessListFrm; }}});
    EXPECT_EQ(MessageOf([&] { factory.RegisterFormClass({"TVCHARTFRM", {}}); }),
              QStringLiteral("TVCHARTFRM Already Registered"));
    ASSERT_NE(factory.FindFormClass("TVchartFrm"), nullptr);  // class names ignore case here
    EXPECT_EQ(factory.FindFormClass("TVchartFrm")->ClassName, QStringLiteral("TVChartFrm"));
    EXPECT_EQ(factory.FindFormClass("TNothingFrm"), nullptr);
    EXPECT_EQ(MessageOf([&] { factory.FormClassByName("TNothingFrm"); }), QStringLiteral("TNothingFrm not Find"));
    try {
        factory.FormClassByName("TNothingFrm");
    } catch (const EClassFactoryError&) {
        SUCCEED();
    }
}

TEST(ClassFactory, OpenWindowsAreFoundDepthFirstByExactName)
{
    TClassFactory factory;
    factory.RegisterFormClass({"TVChartFrm", [] { return new TVChartFrm; }});
    EXPECT_EQ(factory.FindFormInstance("TVChartFrm"), nullptr);
    // A window owned by another window of the application.
    auto* main = new QObject(QCoreApplication::instance());
    auto* collect = new QObject(main);
    auto* chart = new TVChartFrm(collect);
    EXPECT_EQ(factory.FindFormInstance("TVChartFrm"), chart);
    EXPECT_EQ(factory.FindFormInstance("TVchartFrm"), nullptr);  // instances compare exactly
    EXPECT_EQ(factory.GetFormInstance("TVChartFrm"), chart);
    delete main;
    // Without an open window, a new one is made and owned by the application.
    QObject* made = factory.GetFormInstance("TVChartFrm");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->parent(), QCoreApplication::instance());
    EXPECT_EQ(factory.GetFormInstance("TVChartFrm"), made);
    delete made;
    EXPECT_THROW(factory.GetFormInstance("TNothingFrm"), EClassFactoryError);
}

// --- Event manager ----------------------------------------------------------------------------

TEST(EventManager, HookWithoutPreviousHandlerLeavesNoneBehind)
{
    auto t = Table();
    TCalls calls;
    TEventManager manager;
    manager.HookEvent(t.get(), "AfterPost", TDataSetNotifyEvent(&calls, &TCalls::Hook));
    EXPECT_TRUE(manager.Hooks().empty());
    t->AppendRecord({1});
    // The previous handler: none, so nothing is called.
    manager.CallPreviousHandler(t.get(), "AfterPost", t.get());
    EXPECT_EQ(calls.Log, QStringList({"hook"}));
    manager.UnhookEvent(t.get(), "AfterPost");
    EXPECT_FALSE(t->Event(TDataSetEvent::AfterPost));
    // Nothing to do for no data set.
    manager.HookEvent(nullptr, "AfterPost", TDataSetNotifyEvent(&calls, &TCalls::Hook));
    manager.UnhookEvent(nullptr, "AfterPost");
    manager.CallPreviousHandler(nullptr, "AfterPost", nullptr);
}

TEST(EventManager, HookKeepsAndRestoresThePreviousHandler)
{
    auto t = Table();
    TCalls calls;
    const TDataSetNotifyEvent old(&calls, &TCalls::Old);
    t->SetEvent(TDataSetEvent::AfterPost, old);
    TEventManager manager;
    // The collection windows' pattern: the hook first runs the handler it replaced.
    const TDataSetNotifyEvent hook = TDataSetNotifyEvent::FromCallable([&](TDataSet* ds) {
        manager.CallPreviousHandler(ds, "AfterPost", ds);
        calls.Log << "hook";
    });
    manager.HookEvent(t.get(), "afterpost", hook);  // event names ignore case
    ASSERT_EQ(manager.Hooks().size(), 2u);
    EXPECT_EQ(manager.Hooks()[0].Handler, old);
    t->AppendRecord({1});
    EXPECT_EQ(calls.Log, QStringList({"old", "hook"}));
    manager.UnhookEvent(t.get(), "AfterPost");
    EXPECT_EQ(t->Event(TDataSetEvent::AfterPost), old);
    EXPECT_TRUE(manager.Hooks().empty());
    EXPECT_EQ(MessageOf([&] { manager.HookEvent(t.get(), "AfterPost", {}); }),
              QStringLiteral("指定的方法不存在。(方法必须在Published段)"));
}

TEST(EventManager, FreedManagerRemovesItsHooks)
{
    auto t = Table();
    TCalls calls;
    const TDataSetNotifyEvent old(&calls, &TCalls::Old);
    t->SetEvent(TDataSetEvent::AfterPost, old);
    {
        TEventManager manager;
        manager.HookEvent(t.get(), "AfterPost", TDataSetNotifyEvent(&calls, &TCalls::Hook));
        manager.HookEvent(t.get(), "AfterScroll", TDataSetNotifyEvent(&calls, &TCalls::Hook));
    }
    EXPECT_EQ(t->Event(TDataSetEvent::AfterPost), old);
    EXPECT_FALSE(t->Event(TDataSetEvent::AfterScroll));
    // A data set freed before the manager is left alone.
    TEventManager manager;
    auto gone = Table();
    manager.HookEvent(gone.get(), "AfterScroll", TDataSetNotifyEvent(&calls, &TCalls::Hook));
    gone.reset();
}

TEST(EventManager, MethodByNameThroughTheTableOrASlot)
{
    TLProcessListFrm window;
    auto t = Table();
    TEventManager manager;
    const TDataSetNotifyEvent post = TEventManager::MethodByName(&window, "qryAfterPost");
    EXPECT_EQ(post, TEventManager::MethodByName(&window, "qryAfterPost"));
    EXPECT_EQ(post.Data(), &window);
    manager.HookEvent(t.get(), "AfterPost", post);
    manager.HookEvent(t.get(), "AfterScroll", TEventManager::MethodByName(&window, "qryAfterScroll"));
    t->AppendRecord({1});
    EXPECT_EQ(window.Calls, QStringList({"slot", "table"}));
    EXPECT_EQ(MessageOf([&] { TEventManager::MethodByName(&window, "qryBeforeDelete"); }),
              QStringLiteral("未找到方法TLProcessListFrm.qryBeforeDelete。(方法必须在Published段)"));
    EXPECT_EQ(MessageOf([&] { t->SetEventByName("AfterNothing", post); }), QStringLiteral("数据集没有事件AfterNothing"));
}

#include "CommandCentreTest.moc"
