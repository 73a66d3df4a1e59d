#pragma once
// The test-pattern camera: about ten frames a second of a synthetic cube face, always the face
// the webcam is about to scan and held as the scanning order expects (U and D turned), under
// uneven cool light with sensor noise. It drives the same frame callback as a real camera, for
// tests and for trying the webcam page without a camera.
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "cube/facelet_cube.hpp"
#include "webcam/camera/frame_source.hpp"
#include "webcam/synthetic.hpp"

namespace tx {

inline constexpr const char* kTestPatternName = "Test pattern (synthetic cube)";

class TestPatternCamera : public FrameSource {
public:
    // `face` answers the face to show (the webcam's face choice); it is called on the capture thread.
    TestPatternCamera(const FaceletCube& cube, std::function<char()> face, Lighting light = kCoolUneven);
    ~TestPatternCamera() override;

    bool start() override;
    void stop() override;
    bool running() const override { return thread_.joinable(); }
    std::vector<std::string> formats() const override;
    int format() const override { return format_; }
    void setFormat(int index) override;

    void setCube(const FaceletCube& cube);
    int framesDelivered() const { return frames_; }

private:
    void run(std::stop_token stop);

    std::function<char()> face_;
    Lighting light_;
    mutable std::mutex mutex_;
    FaceletCube cube_;
    std::atomic<int> format_{0};
    std::atomic<int> frames_{0};
    std::jthread thread_;
};

}  // namespace tx
