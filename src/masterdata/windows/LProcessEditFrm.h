#pragma once
// "过程资料编辑": the edit window of the table (shown as a dialog by its browse window).
#include "masterdata/windows/BaseListEditFrm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

class TLProcessEditFrm : public TBaseListEditFrm {
    Q_OBJECT
public:
    explicit TLProcessEditFrm(QWidget* parent = nullptr);
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtDescribe;
    QLineEdit* edtParent;
    QPushButton* btnParent;
    QStringList CarriedFields() const override { return {QStringLiteral("ParentID"), QStringLiteral("ParentName")}; }
    void CarryOver(const QVariantMap& saved) override;
protected:
    void BindControls() override;
};
