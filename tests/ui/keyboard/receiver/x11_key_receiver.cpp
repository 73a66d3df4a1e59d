// A small X11 window that takes the keyboard focus and collects the text typed into it.
// Usage: x11_key_receiver COUNT [TIMEOUT_MS [DISPLAY]]. Prints "ready" once it holds the focus, then
// the first COUNT characters it receives (or what arrived before the time-out) and exits.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::size_t count = std::strtoul(argv[1], nullptr, 10);
    const long timeoutMs = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 10000;
    Display* display = XOpenDisplay(argc > 3 ? argv[3] : nullptr);
    if (!display) return 3;
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 10, 10, 200, 100, 1,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask | FocusChangeMask);
    XMapRaised(display, window);
    for (XEvent e;;) {  // wait until the window is on screen before taking the focus
        XNextEvent(display, &e);
        if (e.type == MapNotify) break;
    }
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);

    std::string text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (text.size() < count && std::chrono::steady_clock::now() < end) {
        if (!XPending(display)) {
            pollfd p{ConnectionNumber(display), POLLIN, 0};
            poll(&p, 1, 50);
            continue;
        }
        XEvent e;
        XNextEvent(display, &e);
        if (e.type != KeyPress) continue;
        char buffer[8];
        KeySym sym;
        const int n = XLookupString(&e.xkey, buffer, sizeof buffer, &sym, nullptr);
        text.append(buffer, static_cast<std::size_t>(n));
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    XCloseDisplay(display);
    return 0;
}
