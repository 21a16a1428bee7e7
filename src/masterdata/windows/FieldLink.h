#pragma once
// Edit controls bound to a field of a data set's current row: the control shows the row's value
// and every change the user makes is written into the row (putting it in edit state first). Text
// edits take the field's width as their maxLength, so longer input is refused while typing.
#include <QObject>
#include <QPointer>
#include <QVariant>
#include "foundation/DataSet.h"

class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;
class TDataSet;
class TField;

class TFieldLink : public QObject {
    Q_OBJECT
public:
    enum class TKind { Text, Float, Integer, Spin, Combo, Display };
    TFieldLink(TDataSet* dataSet, const QString& fieldName, QWidget* control, TKind kind, QObject* parent);

    TDataSet* DataSet() const { return FDataSet; }
    const QString& FieldName() const { return FFieldName; }
    QWidget* Control() const { return FControl; }
    TField* Field() const;
    // Shows the current row's value (also after the row changed).
    void Load();
    // Writes the control's value into the row.
    void Store();

private:
    void Connect();
    QPointer<TDataSet> FDataSet;
    QString FFieldName;
    QPointer<QWidget> FControl;
    TKind FKind;
    bool FLoading = false;
    bool FStoring = false;
};

// A spin box for optional whole numbers: its lowest value shows as an empty box and means "no
// value". It tells when the user stepped it with the arrows or keys.
#include <QSpinBox>
class TOptionalSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit TOptionalSpinBox(QWidget* parent = nullptr);
    // The number shown, 0 when the box is empty.
    int Number() const;
    void stepBy(int steps) override;

signals:
    void Stepped();
};
