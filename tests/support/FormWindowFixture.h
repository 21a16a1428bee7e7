#pragma once
// The ground the tests of the data-form windows stand on: a demo database, the administrator's
// rights, both look-up data modules, a window factory with the classes under test and a scripted
// dialog runner. Header only: the test executables that include it link the windows libraries.
#include "TestDatabase.h"

#include "component/DialogRunner.h"
#include "component/FormFactory.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/ListDM.h"
#include "power/UserPowerCommon.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

struct TFormWindowFixture {
    explicit TFormWindowFixture(void (*registerClasses)(TClassFactory&)) : db(TTestDatabase::TContent::Demo)
    {
        power.LoadUser(1);
        TWBUserPower::SetCurrent(&power);
        dm = std::make_unique<TListDM>(db.DM());
        TKQCommonDM::SetCurrent(&lookups);
        registerClasses(factory);
        TClassFactory::SetCurrent(&factory);
    }
    ~TFormWindowFixture()
    {
        // Windows a failed check left open go before the data modules they show.
        for (const QPointer<QWidget>& w : Windows)
            if (w) delete w.data();
        TClassFactory::SetCurrent(nullptr);
        TKQCommonDM::SetCurrent(nullptr);
        TWBUserPower::SetCurrent(nullptr);
        SetPowerReadOnly(false);
    }
    TFormWindowFixture(const TFormWindowFixture&) = delete;
    TFormWindowFixture& operator=(const TFormWindowFixture&) = delete;

    TTestDatabase db;
    TWBUserPower power;
    std::unique_ptr<TListDM> dm;
    TKQCommonDM lookups{db.DM()};
    TWidgetClassFactory factory;
    TScriptedDialogRunner runner;
    TDialogRunnerScope runnerScope{&runner};
    QList<QPointer<QWidget>> Windows;

    // A browse window shown and active, as after the user brought it to the front.
    QWidget* Open(QWidget* window)
    {
        Windows << window;
        window->show();
        QApplication::setActiveWindow(window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return window;
    }
    template <class T>
    T* Open()
    {
        return static_cast<T*>(Open(new T));
    }
};
