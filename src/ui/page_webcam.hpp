#pragma once
// The web server's view of the webcam page: "?status", "?connect", "?scan" and "?transfer"
// act on the page as its controls would, on the window thread.
#include "server/webcam_port.hpp"
#include "ui/webcam_page.hpp"

namespace tx::ui {

class PageWebcam : public WebcamPort {
public:
    explicit PageWebcam(WebcamPage& page) : page_(page) {}

    const FaceletCube& webcamCube() const override {
        cube_ = page_.webcam().cube();
        return cube_;
    }
    // As if the user had chosen the device: failures are shown in message boxes.
    void selectDevice(int index) override { page_.selectDevice(index); }
    std::string scan(char face) override {
        page_.webcam().setFace(face);
        page_.scan();
        return "Done!";
    }
    std::string transfer() override { return page_.transfer(false); }

private:
    WebcamPage& page_;
    mutable FaceletCube cube_;
};

}  // namespace tx::ui
