#pragma once
// Registers the judge-rule maintenance windows with the window factory, in the program's
// registration order: they follow the master-data windows.
class TClassFactory;

void RegisterJudgeRuleWindowClasses(TClassFactory& factory);
