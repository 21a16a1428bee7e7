#pragma once
// The run-mode dialog: stand-alone (database in the program's Data folder) or network (a shared folder).
#include "component/BaseFrm.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class TAppSettings;

class TRunModeFrm : public TBaseDialog {
    Q_OBJECT
public:
    explicit TRunModeFrm(TAppSettings& settings, QWidget* parent = nullptr);

    QCheckBox* chbSingle;
    QCheckBox* chbNetwork;
    QLineEdit* edtDirectory;
    QToolButton* sbtSelectDir;
    QCheckBox* chbNoDisplay;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    void ApplyMode(int mode);
    void sbtSelectDirClick();
    void btnOkClick();

private:
    TAppSettings& FSettings;
    bool FApplying = false;
};

// Shows the run-mode dialog unless suppressed at start. True when the dialog closed with OK (or was
// not shown); false when it was cancelled (at start the caller then ends the program).
bool SelectRunMode(TAppSettings& settings, bool fromMenu, QWidget* parent = nullptr);

// The folder chooser: true with the chosen folder in path, false (path as normalised) otherwise.
bool SelectNetworkFolder(const QString& title, QString& path, QWidget* parent = nullptr);
