#pragma once
// What the user and duty management checks before it writes: the edit limits of codes, names and
// descriptions, and the OK steps of the dialogs that need no dialog. Each check raises ESystemError
// with the message the user sees.
#include "power/UserPowerDM.h"

#include <QString>

// Codes and names keep the widths their edits allow: a duty 30 and 30, a user 16 and 64.
int PowerCodeWidth(TPowerEntryKind kind);
int PowerNameWidth(TPowerEntryKind kind);
inline constexpr int PowerDescribeWidth = 100;
inline constexpr int PowerPasswordWidth = 10;

// Code and name are required (blank counts as empty) and no longer than their widths.
void CheckPowerEntryNames(TPowerEntryKind kind, const QString& code, const QString& name);
void CheckPowerDescribe(const QString& describe);
// The new-user dialog: the names first, then a typed password must match its confirmation.
void CheckNewUserInput(const QString& code, const QString& name, const QString& password, const QString& confirm);
// The new-password dialog: both texts exactly equal.
void CheckNewPassword(const QString& password, const QString& confirm);
