#pragma once
// 计量型数据清理 and 计数型数据清理: procedures of the main window (run after its rights test), with
// the condition dialog and two message boxes.
class QWidget;

void ClearVariableData(QWidget* owner);
void ClearAttributeData(QWidget* owner);
