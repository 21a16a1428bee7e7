// 计量型数据清理 as a person runs it: the condition dialog with the day typed and OK clicked, the
// count asked about, the subgroups gone; and the boxes it shows, as the program draws them.
#include "AnalysisTestSupport.h"

#include "analysis/windows/DataCleanupProc.h"
#include "analysis/windows/VConditionSSelectFrm.h"
#include "component/DialogRunner.h"
#include "component/WidgetMessageService.h"

#include <QDateEdit>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace analysis_test;

namespace {
void TypeDay(QDateEdit* edit, const QDate& day)
{
    edit->setFocus();
    edit->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(edit, day.toString(QStringLiteral("yyyy")));
    edit->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(edit, day.toString(QStringLiteral("MM")));
    edit->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(edit, day.toString(QStringLiteral("dd")));
}

TScriptedDialogRunner::TScript DayOf(const QDate& day)
{
    return [day](QDialog& d) {
        auto& dialog = dynamic_cast<TVConditionSSelectFrm&>(d);
        // The item as its chooser would hand it over; the day typed into the date fields.
        dialog.Condition().ChooseCharacteristic(PistonRing);
        TypeDay(dialog.dtpStartDate, day);
        TypeDay(dialog.dtpEndDate, day);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    };
}

void SaveBox(const TScriptedMessageService::TMessage& m, const QString& name)
{
    const auto box = MakeMessageBox(m.Text, m.Caption, m.Icon, m.Buttons);
    box->adjustSize();
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    box->grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}
} // namespace

TEST(DataCleanupProc, TheDayIsCountedAskedAboutAndDeleted)
{
    TTestDatabase db;
    FillDay();
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
    runner.Scripts << DayOf(QDate(2026, 3, 1));
    db.Messages.Answers << TMsgResult::Yes;
    ClearVariableData(nullptr);
    ASSERT_EQ(runner.Shown, QStringList{"TVConditionSSelectFrm"});
    ASSERT_EQ(db.Messages.Messages.size(), 1) << db.Messages.LastText().toStdString();
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("质量特性【活塞环直径】共有5组符合条件的记录\r\n确实要删除这些记录吗？"));
    SaveBox(db.Messages.Messages.last(), QStringLiteral("cleanup-question"));
    EXPECT_EQ(GetSQLValue("select count(*) from D_VDM where CID = 201").toInt(), 2);  // the day before and after stay
    // The task the dialog used is gone with it.
    EXPECT_EQ(GetSQLValue("select count(*) from m_CTemp").toInt(), 0);
    EXPECT_EQ(GetSQLValue("select count(*) from m_C").toInt(), 0);

    db.Messages.Messages.clear();
    runner.Scripts << DayOf(QDate(2026, 3, 1));
    ClearVariableData(nullptr);
    EXPECT_EQ(db.Messages.Texts(), QStringList{"没有符合条件的记录！"});
    SaveBox(db.Messages.Messages.last(), QStringLiteral("cleanup-nothing"));
}
