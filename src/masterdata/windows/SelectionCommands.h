#pragma once
// The selection commands of the command centre and the dialogs behind them:
//   "SelectProcess"       过程选择          in ID; out UnSelected, ID, Name
//   "SelectDefectItem"    缺点类别选择      in ID; out UnSelected, ID, Name
//   "SelectVControlItem"  计量型质量特性选择 in ID; out UnSelected, ID, Name
//   "SelectAControlItem"  计数型质量特性选择 in ID; out UnSelected, ID, Name, LotSize (text)
//   "SelectTagValue"      标签值选择        in TagID, TagValueID; out UnSelected, TagValueID, TagValue
//   "SelectTagTemplate"   标签模板选择      in ID; out UnSelected, ID, Name
//   "MSelectCase"         原因选择          Data: TMultiSelectData; in SelectedKeyField
//   "MSelectAction"       措施选择          Data: TMultiSelectData; in SelectedKeyField
// A cancelled single choice (or OK without a row) leaves UnSelected false and the identifier
// NullValue; "不选" sets UnSelected true, with the identifier NullValue. The dialogs show the
// data sets of TKQCommonDM::Current().
class TCommandCenter;

// All eight, each Single and without owner, in the order above.
void RegisterSelectionCommands(TCommandCenter& center);
// Takes the six single-choice commands off again (the program's exit).
void UnregisterSelectionCommands(TCommandCenter& center);
