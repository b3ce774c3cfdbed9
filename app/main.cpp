// The program's start: create the main window, initialise it, run the message loop.
#include <windows.h>

#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    the_main_window = new MainWindow(instance);
    the_main_window->init();
    the_main_window->run();
    delete the_main_window;
    the_main_window = nullptr;
    return 0;
}
