#include "masterdata/windows/FieldLink.h"

#include "foundation/DataSet.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QIntValidator>
#include <QLineEdit>
#include <QLocale>

TFieldLink::TFieldLink(TDataSet* dataSet, const QString& fieldName, QWidget* control, TKind kind, QObject* parent)
    : QObject(parent), FDataSet(dataSet), FFieldName(fieldName), FControl(control), FKind(kind)
{
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        if (kind == TKind::Float) {
            auto* v = new QDoubleValidator(e);
            v->setLocale(QLocale::c());
            v->setNotation(QDoubleValidator::StandardNotation);
            e->setValidator(v);
        } else if (kind == TKind::Integer) {
            e->setValidator(new QIntValidator(e));
        } else if (kind == TKind::Text) {
            if (const TField* f = Field(); f && f->Size() > 0) e->setMaxLength(f->Size());
        }
        if (kind == TKind::Display) e->setReadOnly(true);
    }
    Connect();
    Load();
}

TField* TFieldLink::Field() const
{
    return FDataSet && FDataSet->Active() ? FDataSet->FindField(FFieldName) : nullptr;
}

void TFieldLink::Connect()
{
    if (FDataSet) {
        connect(FDataSet, &TDataSet::CurrentRowChanged, this, &TFieldLink::Load);
        connect(FDataSet, &TDataSet::RowChanged, this, &TFieldLink::Load);
        connect(FDataSet, &TDataSet::DataSetChanged, this, &TFieldLink::Load);
        connect(FDataSet, &TDataSet::StateChanged, this, &TFieldLink::Load);
    }
    if (auto* e = qobject_cast<QLineEdit*>(FControl.data())) {
        if (FKind != TKind::Display) connect(e, &QLineEdit::textEdited, this, &TFieldLink::Store);
    } else if (auto* s = qobject_cast<QSpinBox*>(FControl.data())) {
        connect(s, &QSpinBox::valueChanged, this, [this] {
            if (!FLoading) Store();
        });
    } else if (auto* c = qobject_cast<QComboBox*>(FControl.data())) {
        connect(c, &QComboBox::activated, this, &TFieldLink::Store);
    }
}

void TFieldLink::Load()
{
    if (FStoring || !FControl) return;
    const TField* f = Field();
    const QVariant value = f && FDataSet->RecNo() > 0 ? f->Value() : QVariant();
    FLoading = true;
    if (auto* e = qobject_cast<QLineEdit*>(FControl.data())) {
        const QString text = value.isNull() ? QString() : FKind == TKind::Text || FKind == TKind::Display
                                                            ? value.toString() : DisplayTextOf(value);
        if (e->text() != text) e->setText(text);
    } else if (auto* s = qobject_cast<QSpinBox*>(FControl.data())) {
        s->setValue(value.isNull() ? s->minimum() : value.toInt());
    } else if (auto* c = qobject_cast<QComboBox*>(FControl.data())) {
        int index = -1;
        for (int i = 0; i < c->count() && !value.isNull(); ++i)
            if (VariantsEqual(c->itemData(i), value)) index = i;
        c->setCurrentIndex(index);
    }
    FLoading = false;
}

void TFieldLink::Store()
{
    TField* f = Field();
    if (!f || !FControl || FLoading) return;
    QVariant value;
    if (auto* e = qobject_cast<QLineEdit*>(FControl.data())) {
        const QString text = e->text();
        if (FKind == TKind::Float && !text.trimmed().isEmpty()) value = QLocale::c().toDouble(text.trimmed());
        else if (FKind == TKind::Integer && !text.trimmed().isEmpty()) value = text.trimmed().toInt();
        else value = text.isEmpty() ? QVariant() : QVariant(text);
    } else if (auto* s = qobject_cast<TOptionalSpinBox*>(FControl.data())) {
        const int n = s->Number();
        value = n == 0 || n == s->minimum() ? QVariant() : QVariant(n);
    } else if (auto* s = qobject_cast<QSpinBox*>(FControl.data())) {
        value = s->value();
    } else if (auto* c = qobject_cast<QComboBox*>(FControl.data())) {
        value = c->currentIndex() >= 0 ? c->currentData() : QVariant();
    }
    if (VariantsEqual(f->Value(), value) && FDataSet->State() != TDataSetState::Inactive &&
        (!value.isNull() || f->IsNull()))
        return;
    FStoring = true;
    try {
        if (FDataSet->State() == TDataSetState::Browse) FDataSet->Edit();
        f->SetValue(value);
    } catch (...) {
        FStoring = false;
        throw;
    }
    FStoring = false;
}

TOptionalSpinBox::TOptionalSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setSpecialValueText(QStringLiteral(" "));
}

int TOptionalSpinBox::Number() const
{
    const QString text = cleanText().trimmed();
    return text.isEmpty() ? 0 : text.toInt();
}

void TOptionalSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    emit Stepped();
}
