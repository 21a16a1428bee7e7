#include "masterdata/windows/DataEditDialog.h"

#include "component/DialogRunner.h"
#include "foundation/DataSet.h"
#include "masterdata/windows/BaseDataFrm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

void TEditWindowSupport::TakeState(TDataForm& form, TDefaultValueManager* defaults)
{
    TDataSet* ds = EditedDataSet();
    if (!ds) return;
    if (ds->State() == TDataSetState::Insert) {
        form.SetState(TDataFormState::Inserting);
        if (defaults) defaults->ApplyDefaults();
    } else if (ds->State() == TDataSetState::Edit) {
        form.SetState(TDataFormState::Editing);
    }
}

bool TEditWindowSupport::SaveAndExit(TDataForm& form, QWidget* window)
{
    if (!form.Save()) return false;
    if (TDataEditDialog* d = HostDialogOf(window)) d->Finish(QDialog::Accepted);
    return true;
}

bool TEditWindowSupport::SaveAndNew(TDataForm& form, QWidget* window)
{
    QVariantMap saved;
    if (TDataSet* ds = EditedDataSet())
        for (const QString& f : CarriedFields())
            if (ds->FindField(f) && ds->RecNo() > 0) saved.insert(f, ds->FieldByName(f)->Value());
    if (!form.Save()) return false;
    TBaseDataFrm::Run([&] {
        if (!StartNewRecord()) return;
        CarryOver(saved);
        static_cast<TBaseDataFrm*>(window)->ReloadControls();
        // The first control of the form.
        for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
            if (w->isEnabled() && w->focusPolicy() != Qt::NoFocus && window->isAncestorOf(w)) {
                w->setFocus();
                break;
            }
    });
    return true;
}

bool TEditWindowSupport::CancelExit(TDataForm& form, QWidget* window)
{
    if (!form.CheckLeave()) return false;
    if (TDataEditDialog* d = HostDialogOf(window)) d->Finish(QDialog::Rejected);
    return true;
}

void TEditWindowSupport::MoveRecord(TDataForm& form, int direction)
{
    TDataSet* ds = EditedDataSet();
    if (!ds) return;
    form.BeforeMove(direction);
    if (!form.CheckLeave()) return;
    if (direction < 0) ds->Prior();
    else ds->Next();
    form.SetState(TDataFormState::Editing);
    form.AfterMove(direction);
}

QHBoxLayout* TEditWindowSupport::MakeEditButtons(TBaseDataFrm* window, TDataForm& form)
{
    auto* row = new QHBoxLayout;
    auto make = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, window);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    btnPrior = make(QStringLiteral("前一记录(&P)"), "btnPrior");
    btnNext = make(QStringLiteral("后一记录(&N)"), "btnNext");
    row->addStretch(1);
    btnSaveExit = make(QStringLiteral("保存&&退出(&S)"), "btnSaveExit");
    btnSaveNew = make(QStringLiteral("保存&&新增(&A)"), "btnSaveNew");
    btnCancelExit = make(QStringLiteral("取消退出(&C)"), "btnCancelExit");
    QObject::connect(btnSaveExit, &QPushButton::clicked, window, [this, window, &form] {
        TBaseDataFrm::Run([&] { SaveAndExit(form, window); });
    });
    QObject::connect(btnSaveNew, &QPushButton::clicked, window, [this, window, &form] {
        TBaseDataFrm::Run([&] { SaveAndNew(form, window); });
    });
    QObject::connect(btnCancelExit, &QPushButton::clicked, window, [this, window, &form] {
        TBaseDataFrm::Run([&] { CancelExit(form, window); });
    });
    QObject::connect(btnPrior, &QPushButton::clicked, window, [this, &form] {
        TBaseDataFrm::Run([&] { MoveRecord(form, -1); });
    });
    QObject::connect(btnNext, &QPushButton::clicked, window, [this, &form] {
        TBaseDataFrm::Run([&] { MoveRecord(form, 1); });
    });
    // The window's save and cancel shortcuts are these buttons.
    QObject::disconnect(window->actSave, &QAction::triggered, nullptr, nullptr);
    QObject::disconnect(window->actCancel, &QAction::triggered, nullptr, nullptr);
    QObject::connect(window->actSave, &QAction::triggered, btnSaveExit, &QPushButton::click);
    QObject::connect(window->actCancel, &QAction::triggered, btnCancelExit, &QPushButton::click);
    window->addAction(window->actSave);
    window->addAction(window->actCancel);
    return row;
}

TDataEditDialog::TDataEditDialog(TBaseDataFrm* editWindow, QWidget* parent) : TBaseDialog(parent), FEditWindow(editWindow)
{
    setObjectName(QString::fromLatin1(editWindow->metaObject()->className()).mid(1));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    editWindow->setParent(this);
    editWindow->setWindowFlags(Qt::Widget);
    layout->addWidget(editWindow);
    setWindowTitle(editWindow->windowTitle());
}

int TDataEditDialog::Execute()
{
    if (!TBaseDataFrm::Run([this] { FEditWindow->Prepare(); })) return QDialog::Rejected;
    return RunDialog(*this);
}

void TDataEditDialog::reject()
{
    if (auto* support = dynamic_cast<TEditWindowSupport*>(FEditWindow))
        TBaseDataFrm::Run([&] { support->CancelExit(FEditWindow->Form(), FEditWindow); });
    else
        QDialog::reject();
}

void TDataEditDialog::ShowHelp()
{
    FEditWindow->ShowHelp();
}

void TDataEditDialog::keyPressEvent(QKeyEvent* event)
{
    // Enter moves on to the next control instead of closing the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        event->accept();
        return;
    }
    TBaseDialog::keyPressEvent(event);
}

TDataEditDialog* HostDialogOf(QWidget* editWindow)
{
    return editWindow ? qobject_cast<TDataEditDialog*>(editWindow->parentWidget()) : nullptr;
}
