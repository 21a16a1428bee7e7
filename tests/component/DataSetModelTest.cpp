#include "component/DataSetModel.h"
#include "foundation/MessageService.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <gtest/gtest.h>
#include <memory>

namespace {
// The value rows of a collection window with a tick-box column.
std::unique_ptr<TMemTable> ValueRows()
{
    auto t = std::make_unique<TMemTable>();
    t->AddFieldDef(QStringLiteral("Selected"), TFieldType::Integer);
    t->AddFieldDef(QStringLiteral("SGNo"), TFieldType::Integer);
    t->AddFieldDef(QStringLiteral("No"), TFieldType::Integer);
    t->AddFieldDef(QStringLiteral("Data"), TFieldType::Float);
    t->AddFieldDef(QStringLiteral("Name"), TFieldType::String, 10);
    t->CreateDataSet();
    for (int sg = 1; sg <= 2; ++sg)
        for (int no = 1; no <= 3; ++no) t->AppendRecord({0, sg, no, 74.0 + no * 0.123456});
    return t;
}

struct GridModel : ::testing::Test {
    std::unique_ptr<TMemTable> Rows = ValueRows();
    TDataSetModel Model{Rows.get()};
    QAbstractItemModelTester Tester{&Model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    TScriptedMessageService Messages;
    TMessageServiceScope Scope{&Messages};

    void SetUp() override
    {
        Model.AddCheckBoxColumn(QStringLiteral("Selected"), QStringLiteral("选中"));
        Model.AddColumn(QStringLiteral("SGNo"), QStringLiteral("样本号"), true).Display =
            [this](int row, const QVariant& value) {
                return Rows->RowValue(row, 2).toInt() == 1 ? value.toString() : QString();
            };
        Model.AddColumn(QStringLiteral("No"), QStringLiteral("序号"), true);
        Model.AddColumn(QStringLiteral("Data"), QStringLiteral("取值"));
        Model.SetRowColor([this](int row) {
            return Rows->RowValue(row, 2).toInt() == 1 ? QColor(0, 255, 0) : QColor(Qt::white);
        });
    }
    QVariant At(int row, int column, int role = Qt::DisplayRole) { return Model.data(Model.index(row, column), role); }
};
} // namespace

TEST_F(GridModel, ColumnsTitlesAndTexts)
{
    ASSERT_EQ(Model.columnCount(), 4);
    ASSERT_EQ(Model.rowCount(), 6);
    EXPECT_EQ(Model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("样本号"));
    EXPECT_EQ(At(0, 1).toString(), QStringLiteral("1"));
    EXPECT_EQ(At(1, 1).toString(), QString());  // the sample number only on the block's first row
    EXPECT_EQ(At(0, 3).toString(), QStringLiteral("74.1235"));  // "0.####"
    EXPECT_EQ(At(0, 3, Qt::EditRole).toDouble(), 74.123456);
    EXPECT_EQ(At(0, 3, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(At(0, 0).toString(), QString());  // tick boxes show no text
    EXPECT_EQ(At(0, 0, Qt::BackgroundRole).value<QBrush>().color(), QColor(0, 255, 0));
    EXPECT_EQ(At(1, 0, Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::white));
    EXPECT_FALSE(Model.flags(Model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(Model.flags(Model.index(0, 3)) & Qt::ItemIsEditable);
    EXPECT_TRUE(Model.flags(Model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(Model.setData(Model.index(0, 1), 9));
    Model.SetReadOnly(true);
    EXPECT_FALSE(Model.flags(Model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(Model.setData(Model.index(0, 3), 1.0));
}

TEST_F(GridModel, TickBoxesStoreOneAndZero)
{
    EXPECT_EQ(At(2, 0, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    Model.SetAutoPost(true);
    ASSERT_TRUE(Model.setData(Model.index(2, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(Rows->RecNo(), 3);
    EXPECT_EQ(Rows->FieldByName("Selected")->Value(), QVariant(1));
    EXPECT_EQ(At(2, 0, Qt::CheckStateRole).toInt(), int(Qt::Checked));
    ASSERT_TRUE(Model.setData(Model.index(2, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(Rows->FieldByName("Selected")->Value(), QVariant(0));
    EXPECT_EQ(Rows->State(), TDataSetState::Browse);
}

TEST_F(GridModel, EditingWritesTheRowAndRefusedValuesAreShown)
{
    ASSERT_TRUE(Model.setData(Model.index(4, 3), QStringLiteral("75.5")));
    EXPECT_EQ(Rows->State(), TDataSetState::Edit);  // posted when the cursor leaves the row
    EXPECT_EQ(At(4, 3).toString(), QStringLiteral("75.5"));
    EXPECT_FALSE(Model.setData(Model.index(4, 3), QStringLiteral("abc")));
    EXPECT_EQ(Messages.LastText(), QStringLiteral("请输入正确的数值！"));
    EXPECT_EQ(At(4, 3).toString(), QStringLiteral("75.5"));
    Rows->Next();
    EXPECT_EQ(Rows->State(), TDataSetState::Browse);
}

TEST_F(GridModel, FollowsInsertionsDeletionsAndFilters)
{
    Rows->Last();
    Rows->Append();
    EXPECT_EQ(Model.rowCount(), 7);
    Rows->FieldByName("SGNo")->SetAsInteger(3);
    Rows->FieldByName("No")->SetAsInteger(1);
    Rows->Post();
    Rows->First();
    Rows->Insert();
    Rows->Cancel();
    Rows->Delete();
    EXPECT_EQ(Model.rowCount(), 6);
    EXPECT_EQ(At(0, 2).toString(), QStringLiteral("2"));
    Rows->SetFilter([](TDataSet& ds) { return ds.FieldByName("SGNo")->AsInteger() == 2; });
    Rows->SetFiltered(true);
    EXPECT_EQ(Model.rowCount(), 3);
    // A posted row that leaves the filter leaves the grid.
    Rows->Edit();
    Rows->FieldByName("SGNo")->SetAsInteger(1);
    Rows->Post();
    EXPECT_EQ(Model.rowCount(), 2);
    // While controls are disabled the model keeps still; enabling brings it up to date.
    Rows->DisableControls();
    Rows->SetFiltered(false);
    EXPECT_EQ(Model.rowCount(), 2);
    Rows->EnableControls();
    EXPECT_EQ(Model.rowCount(), 6);
    Rows->Close();
    EXPECT_EQ(Model.rowCount(), 0);
    EXPECT_FALSE(At(0, 0).isValid());
}

TEST(DataSetModel, WithoutColumnsShowsEveryField)
{
    auto rows = ValueRows();
    TDataSetModel model(rows.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Name"));
    model.SetDataSet(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}
