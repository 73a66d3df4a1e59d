#include "ui/keyboard/xtest_key_output.hpp"

#include <cstdlib>

#ifdef TESSERIX_HAS_XTEST
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#endif

namespace tx {

#ifdef TESSERIX_HAS_XTEST

namespace {

// The X11 key symbol of a virtual-key code of the US layout, or NoSymbol.
KeySym keySymOf(int code) {
    if (code >= 'A' && code <= 'Z') return XK_a + (code - 'A');
    if (code >= '0' && code <= '9') return XK_0 + (code - '0');
    switch (code) {
    case 32: return XK_space;
    case kKeyBackspace: return XK_BackSpace;
    case kKeyTab: return XK_Tab;
    case kKeyEnter: return XK_Return;
    case kKeyShift: return XK_Shift_L;
    case 186: return XK_semicolon;
    case 187: return XK_equal;
    case 188: return XK_comma;
    case 189: return XK_minus;
    case 190: return XK_period;
    case 191: return XK_slash;
    case 192: return XK_grave;
    case 219: return XK_bracketleft;
    case 220: return XK_backslash;
    case 221: return XK_bracketright;
    case 222: return XK_apostrophe;
    default: return NoSymbol;
    }
}

}  // namespace

struct XTestKeyOutput::Connection {
    Display* display = nullptr;
    ~Connection() {
        if (display) XCloseDisplay(display);
    }
};

XTestKeyOutput::XTestKeyOutput(const std::string& display) : connection_(std::make_unique<Connection>()) {
    const char* name = display.empty() ? std::getenv("DISPLAY") : display.c_str();
    if (!name || !*name) {
        problem_ = std::string(kKeyboardOutputDisabled) + "there is no X11 display (DISPLAY is not set).";
        return;
    }
    connection_->display = XOpenDisplay(name);
    if (!connection_->display) {
        problem_ = std::string(kKeyboardOutputDisabled) + "the X11 display " + name + " cannot be opened.";
        return;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(connection_->display, &event, &error, &major, &minor))
        problem_ = std::string(kKeyboardOutputDisabled) + "the X11 display has no XTest extension.";
}

XTestKeyOutput::~XTestKeyOutput() = default;

bool XTestKeyOutput::supported() { return true; }

std::string XTestKeyOutput::problem() {
    if (!problem_.empty()) return problem_;
    // On a Wayland desktop the X11 server sees the focus only while an X11 window holds it;
    // keys sent otherwise would be lost without a trace.
    Window focus = None;
    int revert = 0;
    XGetInputFocus(connection_->display, &focus, &revert);
    if (focus == None)
        return std::string(kKeyboardOutputDisabled) + "no X11 window has the keyboard focus (a Wayland window may have it).";
    return {};
}

void XTestKeyOutput::send(int code, bool up) {
    if (!problem_.empty()) return;
    const KeySym sym = keySymOf(code);
    if (sym == NoSymbol) return;
    const KeyCode key = XKeysymToKeycode(connection_->display, sym);
    if (key == 0) return;
    XTestFakeKeyEvent(connection_->display, key, up ? False : True, CurrentTime);
    XFlush(connection_->display);
}

#else  // built without XTest

struct XTestKeyOutput::Connection {};

XTestKeyOutput::XTestKeyOutput(const std::string&)
    : problem_(std::string(kKeyboardOutputDisabled) + "this program was built without X11 XTest support.") {}

XTestKeyOutput::~XTestKeyOutput() = default;

bool XTestKeyOutput::supported() { return false; }

std::string XTestKeyOutput::problem() { return problem_; }

void XTestKeyOutput::send(int, bool) {}

#endif

}  // namespace tx
