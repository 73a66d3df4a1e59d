#pragma once
// Key events injected into the X11 server through the XTest extension. Where that is not
// possible (no display, no XTest, a Wayland session whose focused window is not an X11
// window, or a build without XTest) problem() says why and nothing is sent.
#include <memory>
#include <string>

#include "ui/keyboard/key_output.hpp"

namespace tx {

class XTestKeyOutput : public KeyOutput {
public:
    // Connects to `display` (the DISPLAY variable when empty).
    explicit XTestKeyOutput(const std::string& display = {});
    ~XTestKeyOutput() override;
    XTestKeyOutput(const XTestKeyOutput&) = delete;
    XTestKeyOutput& operator=(const XTestKeyOutput&) = delete;

    std::string problem() override;
    void send(int code, bool up) override;

    // True when this build can inject keys at all.
    static bool supported();

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
    std::string problem_;
};

// Prefix of every message that disables the keyboard output.
inline constexpr const char* kKeyboardOutputDisabled = "Keyboard output is disabled: ";

}  // namespace tx
