#pragma once
// A browse window whose grid shows the main data set: a double click edits the row, a right
// click opens the window's menu.
#include "masterdata/windows/BaeListViewFrm.h"

class QTableView;
class TDataSetModel;

class TBaseListGridFrm : public TBaeListViewFrm {
    Q_OBJECT
public:
    explicit TBaseListGridFrm(QWidget* parent = nullptr);
    QTableView* DBGrid;
    TDataSetModel* GridModel;

protected:
    void BindControls() override;
};

// Makes a grid follow its data set's cursor and move it when a row is chosen.
void ConnectGridToDataSet(QTableView* grid, TDataSetModel* model);
