#include "kp_app.h"

KPApp::KPApp(HINSTANCE instance) : window_(std::make_unique<KPWindow>(instance)) {
    window_->create(CW_USEDEFAULT, CW_USEDEFAULT, 400, 300);
    window_->set_font(15, nullptr);
    window_->add_handler(this);
}

KPApp::~KPApp() = default;

void KPApp::init() {}

int KPApp::run() { return window_->run(); }
