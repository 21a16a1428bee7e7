#pragma once
// Registers the browse and edit windows of the master lists with the window factory, in the
// program's registration order (the judge-rule windows that follow them are registered elsewhere).
class TClassFactory;

void RegisterMasterDataWindowClasses(TClassFactory& factory);
