#pragma once
// Registers the collection windows with the window factory: TVCollectFrm and TACollectFrm.
class TClassFactory;

void RegisterCollectWindowClasses(TClassFactory& factory);
