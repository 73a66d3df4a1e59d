#pragma once
// The webcam as the web server's requests see it: the desktop program's webcam page
// (ui/page_webcam.hpp), or, without a window ("tesserix-cli serve"), NoCameraWebcam, which
// behaves as the program does with no camera connected.
#include <string>

#include "cube/facelet_cube.hpp"

namespace tx {

inline constexpr const char* kWebcamUnresolvedText = "Could not resolve the colors due to wrong input.";

class WebcamPort {
public:
    virtual ~WebcamPort() = default;
    // The webcam cube: classes 0..5 (red, orange, blue, green, yellow, white) per facelet,
    // anything else for a facelet not (yet) recognised.
    virtual const FaceletCube& webcamCube() const = 0;
    virtual void selectDevice(int index) = 0;
    // Sets the face choice to `face` (U R F D L B) and scans it; answers "Done!".
    virtual std::string scan(char face) = 0;
    // Classifies and transfers the scanned cube; "Done!" or the failure text.
    virtual std::string transfer() = 0;
};

// "?status" text: r o b g y w for classes 0..5, x for anything else.
std::string webcamStatusText(const FaceletCube& cube);

// No capture device: no frame is ever measured, so every class stays unknown. The webcam
// cube stays undefined, a scan only moves the face choice on, and a transfer finds every
// facelet undefined.
class NoCameraWebcam : public WebcamPort {
public:
    NoCameraWebcam() { cube_.f.fill(kUndefinedFacelet); }
    const FaceletCube& webcamCube() const override { return cube_; }
    // There is no device to open; the choice is ignored.
    void selectDevice(int) override {}
    std::string scan(char face) override;
    std::string transfer() override { return kWebcamUnresolvedText; }
    // The face the next scan stores, as the webcam page shows it.
    char face() const { return face_; }

private:
    FaceletCube cube_;
    char face_ = 'B';
};

}  // namespace tx
