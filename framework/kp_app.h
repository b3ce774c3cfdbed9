// KPApp: the base of an application's main window. It creates and owns a shown KPWindow
// and is always that window's first handler.
#pragma once

#include <memory>

#include <windows.h>

#include "kp_handler.h"
#include "kp_window.h"

class KPApp : public KPHandler {
public:
    // A 400 x 300 window at the system's default place, with "MS Sans Serif" of height 15.
    explicit KPApp(HINSTANCE instance);
    virtual ~KPApp();
    KPApp(const KPApp&) = delete;
    KPApp& operator=(const KPApp&) = delete;

    // Called once by the program's start, before run().
    virtual void init();
    // The window's message loop.
    int run();
    KPWindow* window() const { return window_.get(); }

private:
    std::unique_ptr<KPWindow> window_;
};
