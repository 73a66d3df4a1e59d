#include "webcam/camera/test_pattern.hpp"

#include <chrono>
#include <condition_variable>

namespace tx {
namespace {

struct Size {
    int width, height;
};
constexpr Size kFormats[] = {{640, 480}, {320, 240}, {800, 600}};

}  // namespace

TestPatternCamera::TestPatternCamera(const FaceletCube& cube, std::function<char()> face, Lighting light)
    : face_(std::move(face)), light_(light), cube_(cube) {}

TestPatternCamera::~TestPatternCamera() { stop(); }

bool TestPatternCamera::start() {
    if (!thread_.joinable()) thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
    return true;
}

void TestPatternCamera::stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    thread_.join();
    thread_ = std::jthread();
}

std::vector<std::string> TestPatternCamera::formats() const {
    std::vector<std::string> out;
    for (const Size& s : kFormats)
        out.push_back(std::to_string(s.width) + " x " + std::to_string(s.height) + ", 10 fps, RGB24");
    return out;
}

void TestPatternCamera::setFormat(int index) {
    if (index >= 0 && index < int(std::size(kFormats))) format_ = index;
}

void TestPatternCamera::setCube(const FaceletCube& cube) {
    std::lock_guard lock(mutex_);
    cube_ = cube;
}

void TestPatternCamera::run(std::stop_token stop) {
    std::mutex sleepMutex;
    std::condition_variable_any wake;
    for (unsigned seed = 1; !stop.stop_requested(); ++seed) {
        const char face = face_ ? face_() : 'F';
        FaceletCube cube;
        {
            std::lock_guard lock(mutex_);
            cube = cube_;
        }
        const Size size = kFormats[format_];
        const RgbImage picture =
            renderFace(cameraView(face, faceClasses(cube, face, kStandardFaceClass)), light_, seed, size.width, size.height);
        const QImage frame(picture.rgb.data(), picture.width, picture.height, 3 * picture.width, QImage::Format_RGB888);
        if (onFrame) onFrame(frame.copy());
        ++frames_;
        std::unique_lock lock(sleepMutex);
        wake.wait_for(lock, stop, std::chrono::milliseconds(100), [] { return false; });
    }
}

}  // namespace tx
