#pragma once
// The window classes of the program, registered with the window factory when it starts, so that
// the main window, the navigation window and the browse windows open them by class name.
class TClassFactory;

// In the program's order; each window class joins this list when it is built.
void RegisterWindowClasses(TClassFactory& factory);
