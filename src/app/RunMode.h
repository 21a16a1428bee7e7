#pragma once
// The run-mode dialog: stand-alone (database in the program's Data folder), network (a shared
// folder) or server (a PostgreSQL server that many workstations share).
#include "component/BaseFrm.h"
#include "foundation/ServerConnection.h"

class QCheckBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QSpinBox;
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
    QCheckBox* chbServer;
    QLineEdit* edtHost;
    QSpinBox* edtPort;
    QLineEdit* edtDatabase;
    QLineEdit* edtUser;
    QLineEdit* edtPassword;
    QPushButton* btnTestConnection;
    QLabel* lblTestResult;
    QCheckBox* chbNoDisplay;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    void ApplyMode(int mode);
    void sbtSelectDirClick();
    void btnOkClick();
    void btnTestConnectionClick();
    int Mode() const;

private:
    TServerConnection ServerFromFields() const;
    TAppSettings& FSettings;
    bool FApplying = false;
};

// Shows the run-mode dialog unless suppressed at start. True when the dialog closed with OK (or was
// not shown); false when it was cancelled (at start the caller then ends the program).
bool SelectRunMode(TAppSettings& settings, bool fromMenu, QWidget* parent = nullptr);

// The folder chooser: true with the chosen folder in path, false (path as normalised) otherwise.
bool SelectNetworkFolder(const QString& title, QString& path, QWidget* parent = nullptr);
