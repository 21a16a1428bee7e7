#pragma once
// The login dialog's OK step without the dialog: identifies the user by name and password and loads
// the user's rights. Throws ESystemError with the dialog's message on failure.
#include <QString>

class TAppSettings;
class TWBUserPower;

void CheckLogin(const QString& name, const QString& password, TWBUserPower& power);

// Stores a user's new password (as a hash) on the current connection; "密码修改失败！" on failure.
void StorePassword(int userID, const QString& password);

// The name the dialog starts with: the remembered one, else "超级用户" (an empty value is written then).
QString LoginInitialName(TAppSettings& settings);
// Whatever the outcome, the dialog remembers the name as typed.
void RememberLoginName(TAppSettings& settings, const QString& name);
