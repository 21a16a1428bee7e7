#include "analysis/windows/BaseConditionFrm.h"

#include "analysis/windows/TagValueMSelectFrm.h"
#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "foundation/CommandCentre.h"
#include "foundation/MessageService.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <optional>

namespace {
QTableView* NewGrid(QWidget* parent, const QString& name, TDataSetModel* model)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setHighlightSections(false);
    return grid;
}
} // namespace

TBaseConditionFrm::TBaseConditionFrm(TItemKind kind, bool analysis, int taskID, QWidget* parent)
    : TBaseDialog(parent), FCondition(std::make_unique<TBaseCondition>(kind, analysis, taskID))
{
    setWindowTitle(QStringLiteral("条件选择"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    TBaseCondition& c = *FCondition;

    FTagModel = new TDataSetModel(this);
    FTagModel->AddCheckBoxColumn(QStringLiteral("Mandatory"), QStringLiteral("必须满足"));
    FTagModel->AddColumn(QStringLiteral("TagCode"), QStringLiteral("编号"), true);
    FTagModel->AddColumn(QStringLiteral("TagName"), QStringLiteral("名称"), true);
    FTagModel->SetReadOnly(true);
    FTagValueModel = new TDataSetModel(this);
    FTagValueModel->AddColumn(QStringLiteral("TagValue"), QStringLiteral("取值"), true);
    FTagValueModel->SetReadOnly(true);
    FCharacterModel = new TDataSetModel(this);
    FCharacterModel->AddColumn(QStringLiteral("CCode"), QStringLiteral("编号"), true);
    FCharacterModel->AddColumn(QStringLiteral("CName"), QStringLiteral("名称"), true);
    FCharacterModel->AddColumn(QStringLiteral("ProName"), QStringLiteral("所属过程"), true);
    FCharacterModel->SetReadOnly(true);

    FLayout = new QVBoxLayout(this);
    FLayout->setContentsMargins(10, 10, 10, 10);
    FLayout->setSpacing(6);

    auto* tagBar = new QHBoxLayout;
    lblTag = new QLabel(QStringLiteral("标签："), this);
    btnTag = new QPushButton(QStringLiteral("选择(&T)..."), this);
    btnTag->setObjectName(QStringLiteral("btnTag"));
    tagBar->addWidget(lblTag);
    tagBar->addWidget(btnTag);
    tagBar->addStretch(1);
    FLayout->addLayout(tagBar);

    auto* tagGrids = new QHBoxLayout;
    grdTag = NewGrid(this, QStringLiteral("grdTag"), FTagModel);
    grdTagValue = NewGrid(this, QStringLiteral("grdTagValue"), FTagValueModel);
    tagGrids->addWidget(grdTag, 3);
    tagGrids->addWidget(grdTagValue, 2);
    FLayout->addLayout(tagGrids, 1);

    auto* dateBar = new QHBoxLayout;
    lblDate = new QLabel(QStringLiteral("日期："), this);
    dtpStartDate = new QDateEdit(this);
    dtpStartDate->setObjectName(QStringLiteral("dtpStartDate"));
    dtpStartTime = new QTimeEdit(this);
    dtpStartTime->setObjectName(QStringLiteral("dtpStartTime"));
    lblTo = new QLabel(QStringLiteral("至"), this);
    dtpEndDate = new QDateEdit(this);
    dtpEndDate->setObjectName(QStringLiteral("dtpEndDate"));
    dtpEndTime = new QTimeEdit(this);
    dtpEndTime->setObjectName(QStringLiteral("dtpEndTime"));
    for (QDateEdit* d : {dtpStartDate, dtpEndDate}) {
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
    }
    for (QTimeEdit* t : {dtpStartTime, dtpEndTime}) t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    dateBar->addWidget(lblDate);
    dateBar->addWidget(dtpStartDate);
    dateBar->addWidget(dtpStartTime);
    dateBar->addWidget(lblTo);
    dateBar->addWidget(dtpEndDate);
    dateBar->addWidget(dtpEndTime);
    dateBar->addStretch(1);
    FLayout->addLayout(dateBar);

    auto* characterBar = new QHBoxLayout;
    lblCharacter = new QLabel(QStringLiteral("特性："), this);
    btnCharacter = new QPushButton(QStringLiteral("选择(&C)..."), this);
    btnCharacter->setObjectName(QStringLiteral("btnCharacter"));
    characterBar->addWidget(lblCharacter);
    characterBar->addWidget(btnCharacter);
    characterBar->addStretch(1);
    FLayout->addLayout(characterBar);
    grdCharacter = NewGrid(this, QStringLiteral("grdCharacter"), FCharacterModel);
    grdCharacter->setMaximumHeight(90);
    FLayout->addWidget(grdCharacter);

    auto* buttons = new QHBoxLayout;
    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    FLayout->addLayout(buttons);

    FTagModel->SetDataSet(&c.qryTaskTag());
    FTagValueModel->SetDataSet(&c.qryTaskTagValue());
    FCharacterModel->SetDataSet(&c.qryTaskItem());
    grdTag->setColumnWidth(0, 70);
    grdTag->setColumnWidth(1, 80);
    grdCharacter->setColumnWidth(0, 90);
    grdCharacter->setColumnWidth(1, 160);

    connect(btnTag, &QPushButton::clicked, this, [this] { ChooseTagValues(); });
    connect(btnCharacter, &QPushButton::clicked, this, [this] { ChooseCharacteristic(); });
    connect(btnOK, &QPushButton::clicked, this, &TBaseConditionFrm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The value grid follows the tag chosen in the tag grid.
    connect(grdTag->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { TagRowChosen(current.row()); });
    connect(FTagModel, &TDataSetModel::CurrentRowChanged, this, &TBaseConditionFrm::ShowTaskTagRow);
    grdTag->viewport()->installEventFilter(this);
    grdCharacter->viewport()->installEventFilter(this);

    InitCondition();
    resize(600, 480);
}

TBaseConditionFrm::~TBaseConditionFrm()
{
    // The grids let go of the data sets before the condition frees them.
    FTagModel->SetDataSet(nullptr);
    FTagValueModel->SetDataSet(nullptr);
    FCharacterModel->SetDataSet(nullptr);
}

void TBaseConditionFrm::InitCondition()
{
    dtpStartDate->setDate(FCondition->StartDate);
    dtpStartTime->setTime(FCondition->StartTime);
    dtpEndDate->setDate(FCondition->EndDate);
    dtpEndTime->setTime(FCondition->EndTime);
}

void TBaseConditionFrm::AddExtraRow(QWidget* row)
{
    // Below the item grid, above the buttons.
    FLayout->insertWidget(FLayout->count() - 1, row);
}

void TBaseConditionFrm::showEvent(QShowEvent* event)
{
    FCondition->OpenTaskQueries();
    TBaseDialog::showEvent(event);
}

bool TBaseConditionFrm::eventFilter(QObject* watched, QEvent* event)
{
    // A double click anywhere in a grid, on a row or below the rows, chooses anew.
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == grdTag->viewport()) {
            ChooseTagValues();
            return true;
        }
        if (watched == grdCharacter->viewport()) {
            ChooseCharacteristic();
            return true;
        }
    }
    return TBaseDialog::eventFilter(watched, event);
}

void TBaseConditionFrm::TagRowChosen(int row)
{
    if (FSyncing || row < 0) return;
    TQuery& tags = FCondition->qryTaskTag();
    if (tags.Active() && row < tags.RecordCount() && tags.RecNo() != row + 1) tags.SetRecNo(row + 1);
}

void TBaseConditionFrm::ShowTaskTagRow(int row)
{
    FSyncing = true;
    if (row >= 0) grdTag->selectionModel()->setCurrentIndex(FTagModel->index(row, 0),
                                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    FSyncing = false;
}

void TBaseConditionFrm::ChooseCharacteristic()
{
    try {
        TCommandCenter* center = TCommandCenter::Instance();
        if (!center) throw EAFCError(QStringLiteral("Command:%1 not find").arg(CharacteristicCommand()));
        TCommand* command = center->CommandByName(CharacteristicCommand());
        command->SetParamValue(QStringLiteral("ID"), FCondition->SelectedCID());
        command->SetParamValue(QStringLiteral("UnSelected"), false);
        command->Execute();
        const int id = VariantToInt(command->GetParamValue(QStringLiteral("ID")));
        if (command->GetParamValue(QStringLiteral("UnSelected")).toBool())
            FCondition->ChooseCharacteristic(NullValue);
        else if (id != NullValue)
            FCondition->ChooseCharacteristic(id);
        else
            return;
        CharacteristicChanged();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TBaseConditionFrm::ChooseTagValues()
{
    try {
        if (!FCondition->CheckCharacteristicChosen()) return;
        TQuery& offer = FCondition->OpenTagOffer();
        bool accepted = false;
        {
            // The chooser lets go of the offer before its choice is taken.
            TTagValueMSelectFrm chooser(offer, this);
            const TQuery& tags = FCondition->qryTaskTag();
            if (!tags.IsEmpty()) chooser.SelectTag(tags.FieldByName(QStringLiteral("TagID"))->AsInteger());
            accepted = RunDialog(chooser) == QDialog::Accepted;
        }
        if (accepted) FCondition->ApplyTagOffer();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TBaseConditionFrm::ReadControls()
{
    FCondition->StartDate = dtpStartDate->date();
    FCondition->StartTime = dtpStartTime->time();
    FCondition->EndDate = dtpEndDate->date();
    FCondition->EndTime = dtpEndTime->time();
}

bool TBaseConditionFrm::ValidateCondition()
{
    ReadControls();
    return FCondition->ValidateCondition();
}

bool TBaseConditionFrm::SaveCondition()
{
    ReadControls();
    return FCondition->SaveCondition();
}

void TBaseConditionFrm::btnOKClick()
{
    // A write the database refused keeps the dialog open with everything chosen.
    try {
        if (SaveCondition()) accept();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}
