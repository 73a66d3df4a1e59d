#pragma once
// Where video frames come from: a camera through Qt Multimedia, or the test-pattern camera that
// shows a cube held the way the scanning order expects. Frames arrive on the source's own
// thread (the capture thread) through onFrame; failures of a running device arrive on the
// window thread through onError.
#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCamera;

namespace tx {

inline constexpr const char* kNoDeviceText = "No device found - connect device prior to program start!";
inline constexpr const char* kNoDeviceIndexText = "Error. No valid capture device index!";
inline constexpr const char* kCannotInitializeText = "Could not initialize capture device!";

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Starts delivering frames; false when the device cannot be opened.
    virtual bool start() = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
    // The device's formats as "640 x 480, 30 fps, ..." and the one in use (-1: the default).
    virtual std::vector<std::string> formats() const = 0;
    virtual int format() const = 0;
    virtual void setFormat(int index) = 0;
    // The camera's adjustable properties, or null when it has none.
    virtual QCamera* camera() { return nullptr; }

    std::function<void(const QImage&)> onFrame;
    std::function<void(const std::string&)> onError;
};

struct CaptureDevice {
    std::string name;
    std::function<std::unique_ptr<FrameSource>()> open;
};

// The video input devices Qt Multimedia knows, in its order.
std::vector<CaptureDevice> cameraDevices();

}  // namespace tx
