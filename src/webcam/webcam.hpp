#pragma once
// The webcam page without a window: the frame callback's measurement and live classes, the
// red and orange samples, the face choice and the scanning order, the stored measurements of
// the 54 facelets, the webcam cube and the transfer.
//
// Frames arrive on the capture thread while the window thread scans and transfers. Every
// table lives behind one mutex: a frame publishes its nine squares in one step and a scan
// copies them in one step, so a scanned face never mixes two frames and a transfer never
// reads a half-written table.
#include <array>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "cube/facelet_cube.hpp"
#include "webcam/classify.hpp"
#include "webcam/color.hpp"
#include "webcam/frame.hpp"

namespace tx {

enum class ScanMode { Interactive, Automatic };
enum class ShownMeasure { Hue, Saturation, Value };  // printed into the squares in automatic mode

// The page's controls (not stored in the settings file).
struct WebcamSettings {
    HueThresholds thresholds;
    ScanMode mode = ScanMode::Interactive;
    RedOrangeSplit split = RedOrangeSplit::Hue;
    ShownMeasure shown = ShownMeasure::Hue;
    GridSpacing spacing;
    bool operator==(const WebcamSettings&) const = default;
};

inline constexpr const char* kOverexposedText = "Decrease exposure or gain for optimal results!";
inline constexpr const char* kSamplesWantedText = "Rightclick squares to enter at least 2 red and 2 orange samples";

// What the frame callback draws into a frame.
struct SquareOverlay {
    SquareRect rect;
    int cls = kUnknownClass;
    bool classFrame = false;  // interactive mode: a 7-pixel frame in the class colour
    std::string label;        // the class's two letters, or the shown measure
};

struct FrameOverlay {
    std::array<SquareOverlay, kSquares> squares{};
    bool overexposed = false;    // "Decrease exposure ..." at the top left
    bool samplesWanted = false;  // "Rightclick squares ..." at the bottom left
};

class Webcam {
public:
    // Faces in the order they are scanned.
    static constexpr std::string_view kScanOrder = "BLFRUD";

    Webcam();
    Webcam(const Webcam&) = delete;
    Webcam& operator=(const Webcam&) = delete;

    // ------------------------------------------------------------ capture thread
    // Measures the nine squares, classifies them live, records a requested sample and answers
    // what to draw. A recorded sample is reported through samplesRecorded afterwards.
    FrameOverlay processFrame(const FrameView& frame);
    // Called with (number of samples of that colour, 0 red / 1 orange), outside the lock.
    std::function<void(int count, int color)> samplesRecorded;

    // ------------------------------------------------------------ window thread
    WebcamSettings settings() const;
    void setSettings(const WebcamSettings& settings);

    // The next frame takes the square containing frame pixel (x, y) as a sample of `cls`
    // (kRed or kOrange); the request ends with that frame.
    void requestSample(int cls, int x, int y);
    void clearSamples();  // Button1
    int sampleCount(int cls) const;

    char face() const;  // the face the next scan stores: U R F D L B
    void setFace(char face);
    bool scanned(char face) const;
    // BScan: stores the live measurements (and, in interactive mode, the live classes) as the
    // current face and moves on to the next face.
    void scan();
    // BTransferCam: all six faces scanned, or interactive mode (until the next transfer).
    bool transferEnabled() const;
    // Classifies the 54 facelets and names them by their centres. On success the scanned marks
    // are cleared and the transfer button is disabled; a failure leaves everything unchanged.
    HandOver transfer();
    void clearCube();  // Button2: webcam cube and scanned marks cleared, face B

    // Snapshots.
    FaceletCube cube() const;  // classes per facelet, 6 for unknown
    FaceMeasures liveMeasures() const;
    std::array<int, kSquares> liveClasses() const;
    CubeMeasures storedMeasures() const;

private:
    FrameOverlay overlay(const FrameView& frame, const WebcamSettings& s) const;
    CubeClasses cubeClasses() const;

    mutable std::mutex mutex_;
    WebcamSettings settings_;
    SampleSet red_, orange_;
    struct SampleRequest {
        int cls, x, y;
    };
    std::optional<SampleRequest> sampleRequest_;
    FaceMeasures live_{};
    std::array<int, kSquares> liveClasses_{};
    CubeMeasures stored_{};
    FaceletCube cube_;
    std::array<bool, 6> scanned_{};
    int faceIndex_ = 0;  // into kScanOrder
    bool transferred_ = false;
};

// The nine places of a face as the camera saw it, re-ordered into the facelet order: U is seen
// turned by a quarter turn one way, D the other way, the side faces as they are.
template <class T>
std::array<T, kSquares> holdTurned(char face, const std::array<T, kSquares>& seen) {
    static constexpr std::array<int, kSquares> kU = {2, 5, 8, 1, 4, 7, 0, 3, 6};
    static constexpr std::array<int, kSquares> kD = {6, 3, 0, 7, 4, 1, 8, 5, 2};
    if (face != 'U' && face != 'D') return seen;
    const auto& from = face == 'U' ? kU : kD;
    std::array<T, kSquares> out{};
    for (int k = 0; k < kSquares; ++k) out[k] = seen[static_cast<std::size_t>(from[k])];
    return out;
}

}  // namespace tx
