#include "masterdata/windows/BaseDataFrm.h"

#include "component/DialogRunner.h"
#include "foundation/ClassFactory.h"
#include "foundation/DataSet.h"
#include "foundation/MessageService.h"
#include "masterdata/windows/DataEditDialog.h"
#include "masterdata/windows/FieldLink.h"

#include <QAction>
#include <QShowEvent>

TBaseDataFrm::TBaseDataFrm(QWidget* parent) : TBaseFrm(parent)
{
    auto make = [this](const QString& text, const QKeySequence& key, const char* name) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        return a;
    };
    actNew = make(QStringLiteral("新增(&N)"), QKeySequence(QStringLiteral("Ctrl+N")), "actNew");
    actEdit = make(QStringLiteral("修改(&E)"), QKeySequence(QStringLiteral("Ctrl+E")), "actEdit");
    actDelete = make(QStringLiteral("删除(&D)"), QKeySequence(QStringLiteral("Ctrl+D")), "actDelete");
    actCancel = make(QStringLiteral("取消(&C)"), QKeySequence(QStringLiteral("Ctrl+U")), "actCancel");
    actSave = make(QStringLiteral("保存&退出(&S)"), QKeySequence(QStringLiteral("Ctrl+S")), "actSave");
    actFirst = make(QStringLiteral("首(&F)"), QKeySequence(), "actFirst");
    actPrior = make(QStringLiteral("前(&P)"), QKeySequence(QStringLiteral("Ctrl+Q")), "actPrior");
    actNext = make(QStringLiteral("后(&N)"), QKeySequence(QStringLiteral("Ctrl+H")), "actNext");
    actLast = make(QStringLiteral("尾(&L)"), QKeySequence(), "actLast");
    actLocate = make(QStringLiteral("查找(&F)"), QKeySequence(QStringLiteral("Ctrl+F")), "actLocate");
    actLocate->setVisible(false);
    actLocate->setEnabled(false);
    actRefresh = make(QStringLiteral("刷新(&R)"), QKeySequence(QStringLiteral("Ctrl+R")), "actRefresh");
    // F1 itself is the base window's shortcut; the action shows it in menus.
    actHelp = make(QStringLiteral("帮助"), QKeySequence(), "actHelp");
    connect(actHelp, &QAction::triggered, this, [this] { ShowHelp(); });
    connect(actNew, &QAction::triggered, this, [this] { Run([this] { Form().New(); }); });
    connect(actEdit, &QAction::triggered, this, [this] { Run([this] { Form().Edit(); }); });
    connect(actDelete, &QAction::triggered, this, [this] { Run([this] { Form().Delete(); }); });
    connect(actCancel, &QAction::triggered, this, [this] { Run([this] { Form().CancelAll(); }); });
    connect(actSave, &QAction::triggered, this, [this] { Run([this] { Form().Save(); }); });
    connect(actFirst, &QAction::triggered, this, [this] { Run([this] { Form().First(); }); });
    connect(actPrior, &QAction::triggered, this, [this] { Run([this] { Form().Prior(); }); });
    connect(actNext, &QAction::triggered, this, [this] { Run([this] { Form().Next(); }); });
    connect(actLast, &QAction::triggered, this, [this] { Run([this] { Form().Last(); }); });
    connect(actRefresh, &QAction::triggered, this, [this] { Run([this] { Form().Refresh(); }); });
}

TBaseDataFrm::~TBaseDataFrm() = default;

void TBaseDataFrm::Prepare()
{
    if (FPrepared) return;
    FPrepared = true;
    Form().CreateForm();
    BindControls();
}

void TBaseDataFrm::showEvent(QShowEvent* event)
{
    if (!FPrepared) Run([this] { Prepare(); });
    TBaseFrm::showEvent(event);
}

bool TBaseDataFrm::Run(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const ERuleError& e) {
        ShowRuleError(e);
    } catch (const std::exception& e) {
        ShowException(e);
    }
    return false;
}

void TBaseDataFrm::AddWindowActions(const QList<QAction*>& actions)
{
    for (QAction* a : actions) addAction(a);
}

TFieldLink* TBaseDataFrm::Bind(TDataSet* dataSet, const QString& fieldName, QWidget* control, TFieldLink::TKind kind)
{
    auto* link = new TFieldLink(dataSet, fieldName, control, kind, this);
    FLinks << link;
    return link;
}

QWidget* TBaseDataFrm::FieldControl(TDataSet* dataSet, const QString& fieldName) const
{
    for (TFieldLink* l : FLinks)
        if (l->DataSet() == dataSet && l->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0) return l->Control();
    return nullptr;
}

void TBaseDataFrm::ReloadControls()
{
    for (TFieldLink* l : FLinks) l->Load();
}

void TBaseDataFrm::FocusControl(TDataSet& dataSet, const QString& fieldName)
{
    if (QWidget* w = FieldControl(&dataSet, fieldName); w && w->isEnabled()) w->setFocus();
}

TBaseListDataFrm::TBaseListDataFrm(QWidget* parent) : TBaseDataFrm(parent) {}

TBaseListDataFrm::~TBaseListDataFrm()
{
    DestroyForm();
}

QString TBaseListDataFrm::FormClassName() const
{
    return QString::fromLatin1(metaObject()->className());
}

TBaseListMDDataFrm::TBaseListMDDataFrm(QWidget* parent) : TBaseDataFrm(parent) {}

TBaseListMDDataFrm::~TBaseListMDDataFrm()
{
    DestroyForm();
}

QString TBaseListMDDataFrm::FormClassName() const
{
    return QString::fromLatin1(metaObject()->className());
}

int OpenEditWindow(const QString& className, QWidget* parent)
{
    TClassFactory* factory = TClassFactory::Current();
    if (!factory) throw EClassFactoryError(QStringLiteral("%1 not Find").arg(className));
    QObject* object = factory->GetFormInstance(className);
    auto* frm = qobject_cast<TBaseDataFrm*>(object);
    if (!frm) {
        delete object;
        throw EClassFactoryError(QStringLiteral("%1 not Find").arg(className));
    }
    TDataEditDialog dialog(frm, parent);
    return dialog.Execute();
}
