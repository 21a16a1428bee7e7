#pragma once
// The login dialog's OK step without the dialog: identifies the user by name and password and loads
// the user's rights. Throws ESystemError with the dialog's message on failure.
#include <QString>

class TAppSettings;
class TCompanyDM;
class TWBUserPower;

void CheckLogin(const QString& name, const QString& password, TWBUserPower& power);

// The one way a password is stored: as its salted hash, in a transaction of the connection (the
// current one when none is given). A user that is gone or a refused write fails with "密码修改失败！".
void StorePassword(int userID, const QString& password, TCompanyDM* dm = nullptr);

// The name the dialog starts with: the remembered one, else "超级用户" (an empty value is written then).
QString LoginInitialName(TAppSettings& settings);
// Whatever the outcome, the dialog remembers the name as typed.
void RememberLoginName(TAppSettings& settings, const QString& name);
