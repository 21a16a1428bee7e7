#include "component/BaseFrm.h"

#include "foundation/RecordUtils.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

QString ComponentNameOf(const QObject* window)
{
    if (!window->objectName().isEmpty()) return window->objectName();
    QString name = QString::fromLatin1(window->metaObject()->className());
    if (name.startsWith(QLatin1Char('T'))) name.remove(0, 1);
    return name;
}

namespace {
void SetupBase(QWidget* w, std::function<void()> help)
{
    w->setFont(QFont(QStringLiteral("宋体"), 9));
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), w);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(f1, &QShortcut::activated, w, std::move(help));
}
} // namespace

TBaseFrm::TBaseFrm(QWidget* parent) : QWidget(parent)
{
    SetupBase(this, [this] { ShowHelp(); });
}

void TBaseFrm::ShowHelp()
{
    ShowHelpTopic(ComponentName());
}

TBaseDialog::TBaseDialog(QWidget* parent) : QDialog(parent)
{
    SetupBase(this, [this] { ShowHelp(); });
}

void TBaseDialog::ShowHelp()
{
    ShowHelpTopic(ComponentName());
}

THelpFrm::THelpFrm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpFrm"));
    setWindowTitle(QStringLiteral("启衡SPC 帮助"));
    setAttribute(Qt::WA_DeleteOnClose);
    FBrowser = new QTextBrowser(this);
    FBrowser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FBrowser);
    resize(760, 560);
}

THelpFrm* THelpFrm::Instance()
{
    static QPointer<THelpFrm> instance;
    if (!instance) instance = new THelpFrm(QApplication::activeWindow());
    return instance;
}

void THelpFrm::ShowPage(const QString& path)
{
    if (QFileInfo::exists(path))
        FBrowser->setSource(QUrl::fromLocalFile(path));
    else
        FBrowser->setHtml(QStringLiteral("<h2>启衡SPC 帮助</h2><p>找不到帮助文件：%1</p>").arg(path.toHtmlEscaped()));
    show();
    raise();
    activateWindow();
}

QString THelpFrm::CurrentPage() const
{
    return FBrowser->source().toLocalFile();
}

void ShowHelpTopic(const QString& windowName)
{
    THelpFrm::Instance()->ShowPage(HelpPagePath(windowName));
}
