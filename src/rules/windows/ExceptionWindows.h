#pragma once
// The point windows behind the charts' "编辑" and double click.

// Installs the point windows in the engine's hook: variable chart data opens
// TVExceptionModifyFrm, attribute chart data TAExceptionModifyFrm.
void InstallExceptionPointHook();
