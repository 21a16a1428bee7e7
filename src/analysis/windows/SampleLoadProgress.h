#pragma once
// The progress bar of a long load: a load that is still reading after the delay (half a second)
// shows "正在读取数据..." with a bar and a cancel button; a cancelled load leaves the window's data
// as it was.
#include "analysis/SampleProvider.h"

#include <QElapsedTimer>
#include <memory>

class QProgressDialog;
class QWidget;

class TSampleLoadProgress {
public:
    explicit TSampleLoadProgress(QWidget* parent, int delayMs = 500);
    ~TSampleLoadProgress();
    TSampleLoadProgress(const TSampleLoadProgress&) = delete;
    TSampleLoadProgress& operator=(const TSampleLoadProgress&) = delete;

    // For TSampleLoadOptions::Progress; valid while this object lives.
    TLoadProgress Callback();
    // The bar once it is shown, else nullptr.
    QProgressDialog* Dialog() const { return FDialog.get(); }

private:
    bool Step(int done, int total);

    QWidget* FParent;
    int FDelay;
    QElapsedTimer FClock;
    std::unique_ptr<QProgressDialog> FDialog;
};

// Runs a load with the progress bar and says "没有符合条件的数据，..." when nothing matched.
TSampleLoadResult RunSampleLoad(QWidget* parent, const std::function<TSampleLoadResult(const TLoadProgress&)>& load);
