#include "engine/windows/ReportDesigner.h"

#include "engine/ChartReport.h"
#include "foundation/MessageService.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

TReportDesignerFrm::TReportDesignerFrm(TChartReport& report, QWidget* parent) : QDialog(parent), FReport(report)
{
    setWindowTitle(QStringLiteral("报表设计 - %1").arg(report.FileName()));
    auto* layout = new QVBoxLayout(this);
    auto* split = new QSplitter(this);
    Editor = new QPlainTextEdit(split);
    Editor->setPlainText(report.Template());
    QFont mono(QStringLiteral("Noto Sans Mono CJK SC"));
    mono.setStyleHint(QFont::Monospace);
    Editor->setFont(mono);
    Preview = new QTextBrowser(split);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("保存"));
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    layout->addWidget(buttons);
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this, [this] {
        if (Save()) ShowInfo(QStringLiteral("报表格式已保存。"));
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Editor, &QPlainTextEdit::textChanged, this, &TReportDesignerFrm::UpdatePreview);
    resize(1100, 700);
    UpdatePreview();
}

void TReportDesignerFrm::UpdatePreview()
{
    FReport.LoadFromText(Editor->toPlainText());
    std::unique_ptr<QTextDocument> doc = FReport.RenderDocument();
    auto* shown = doc->clone(Preview);
    Preview->setDocument(shown);
}

bool TReportDesignerFrm::Save()
{
    QFile f(FReport.FileName());
    if (FReport.FileName().isEmpty() || !f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ShowErrorBox(QStringLiteral("报表格式保存失败：%1").arg(FReport.FileName()));
        return false;
    }
    f.write(Editor->toPlainText().toUtf8());
    return true;
}
