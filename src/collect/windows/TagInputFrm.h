#pragma once
// The tag panel "标签": the tags of the current subgroup with their values. Values are never typed;
// the ellipsis button of a value cell (or Enter, F2 or a double click on it) opens the value choice.
#include "component/BaseFrm.h"

class QTableView;
class TDataSetModel;
class TTagInput;

class TTagInputFrm : public TBaseFrm {
    Q_OBJECT
public:
    // Shows the tag rows of input (not owned: the collection that owns it outlives the panel).
    explicit TTagInputFrm(TTagInput& input, QWidget* parent = nullptr);

    TTagInput& Input() const { return FInput; }
    QTableView* Grid;
    TDataSetModel* Model;
    // Where the ellipsis button of a row's value cell is drawn, in the grid's viewport.
    QRect ValueButtonRect(int row) const;
    // The value choice for a row (the button's action).
    void SelectValue(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTagInput& FInput;
};
