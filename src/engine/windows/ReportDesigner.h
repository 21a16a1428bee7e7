#pragma once
// The report template editor: the template's HTML on the left, the rendered report on the right,
// updated as one types; saving writes the template file back.
#include <QDialog>

class QPlainTextEdit;
class QTextBrowser;
class TChartReport;

class TReportDesignerFrm : public QDialog {
    Q_OBJECT
public:
    TReportDesignerFrm(TChartReport& report, QWidget* parent = nullptr);
    QPlainTextEdit* Editor;
    QTextBrowser* Preview;
    bool Save();
    void UpdatePreview();

private:
    TChartReport& FReport;
};
