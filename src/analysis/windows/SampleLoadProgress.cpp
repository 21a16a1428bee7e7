#include "analysis/windows/SampleLoadProgress.h"

#include "foundation/MessageService.h"

#include <QCoreApplication>
#include <QProgressDialog>

TSampleLoadProgress::TSampleLoadProgress(QWidget* parent, int delayMs) : FParent(parent), FDelay(delayMs)
{
    FClock.start();
}

TSampleLoadProgress::~TSampleLoadProgress() = default;

TLoadProgress TSampleLoadProgress::Callback()
{
    return [this](int done, int total) { return Step(done, total); };
}

bool TSampleLoadProgress::Step(int done, int total)
{
    if (!FDialog) {
        if (FClock.elapsed() < FDelay) return true;
        FDialog = std::make_unique<QProgressDialog>(QStringLiteral("正在读取数据..."), QStringLiteral("取消"), 0,
                                                    qMax(total, 1), FParent);
        FDialog->setWindowTitle(ApplicationTitle());
        FDialog->setWindowModality(Qt::WindowModal);
        FDialog->setMinimumDuration(0);
        FDialog->setAutoClose(false);
        FDialog->setAutoReset(false);
        FDialog->show();
    }
    FDialog->setMaximum(qMax(total, 1));
    FDialog->setValue(qBound(0, done, FDialog->maximum()));
    // The cancel button is pressed while the load runs.
    QCoreApplication::processEvents();
    return !FDialog->wasCanceled();
}

TSampleLoadResult RunSampleLoad(QWidget* parent, const std::function<TSampleLoadResult(const TLoadProgress&)>& load)
{
    TSampleLoadResult result;
    {
        TSampleLoadProgress progress(parent);
        result = load(progress.Callback());
    }
    if (result == TSampleLoadResult::NoData) ShowInfo(NoSamplesText());
    return result;
}
