#pragma once
// Where free-standing windows live: the main window's child-window area. A window that must become
// a child window of the main window (a chart window a collection window opens, a module window)
// hands itself to the current host; without one (tests, the command line) it stays a plain window.
class QWidget;

class TChildWindowHost {
public:
    virtual ~TChildWindowHost() = default;
    // Shows the window as a child window (once) and brings it to the front.
    virtual void ShowChildWindow(QWidget* window) = 0;

    // The installed host (not owned); nullptr when none.
    static TChildWindowHost* Current();
    static void SetCurrent(TChildWindowHost* host);
};
