#include "component/FormFactory.h"

#include <QDialog>
#include <gtest/gtest.h>

class TLCaseListFrm : public QWidget {
    Q_OBJECT
public:
    explicit TLCaseListFrm(QWidget* parent = nullptr) : QWidget(parent) {}
};

class TLCaseEditFrm : public QDialog {
    Q_OBJECT
public:
    explicit TLCaseEditFrm(QWidget* parent = nullptr) : QDialog(parent) {}
};

TEST(FormFactory, WindowsAreFoundAmongTheApplicationsWidgets)
{
    TWidgetClassFactory factory;
    factory.RegisterFormClasses({FormClassOf<TLCaseListFrm>(), FormClassOf<TLCaseEditFrm>()});
    EXPECT_EQ(factory.FindFormClass("tlcaselistfrm")->ClassName, QStringLiteral("TLCaseListFrm"));
    QWidget mainWindow;
    QWidget area(&mainWindow);
    auto* list = new TLCaseListFrm(&area);
    // An edit window owned by its browse window is found too.
    auto* edit = new TLCaseEditFrm(list);
    EXPECT_EQ(factory.GetFormInstance("TLCaseListFrm"), list);
    EXPECT_EQ(factory.GetFormInstance("TLCaseEditFrm"), edit);
    delete list;
    // None open: a new top-level window, found again by the next request.
    QObject* made = factory.GetFormInstance("TLCaseListFrm");
    ASSERT_NE(qobject_cast<TLCaseListFrm*>(made), nullptr);
    EXPECT_EQ(made->parent(), nullptr);
    EXPECT_EQ(factory.GetFormInstance("TLCaseListFrm"), made);
    delete made;
    EXPECT_EQ(factory.FindFormInstance("TLCaseListFrm"), nullptr);
}

#include "FormFactoryTest.moc"
