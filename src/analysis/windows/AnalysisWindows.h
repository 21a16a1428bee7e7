#pragma once
// The analysis and control windows, registered with the window factory at start.
class TClassFactory;

// Registers TVControlItemAnalysisFrm, TAControlItemAnalysisFrm, TVControlItemControlFrm and
// TAControlItemControlFrm, and installs the point windows behind the charts' "编辑".
void RegisterAnalysisWindowClasses(TClassFactory& factory);
