#include "webcam/webcam.hpp"

#include <algorithm>

namespace tx {

Webcam::Webcam() {
    cube_.f.fill(kUndefinedFacelet);
    liveClasses_.fill(kUnknownClass);
}

FrameOverlay Webcam::processFrame(const FrameView& frame) {
    const WebcamSettings s = settings();
    const FaceMeasures measures = measureSquares(frame, s.spacing);
    std::array<int, kSquares> classes{};
    FrameOverlay out;
    int recordedCount = -1, recordedColor = 0;
    {
        std::lock_guard lock(mutex_);
        for (int k = 0; k < kSquares; ++k)
            classes[k] = classifyInteractive(measures[k], settings_.thresholds, red_, orange_);
        live_ = measures;
        liveClasses_ = classes;
        if (sampleRequest_) {
            const int k = squareAt(frame.width, frame.height, s.spacing, sampleRequest_->x, sampleRequest_->y);
            if (k >= 0) {
                SampleSet& set = sampleRequest_->cls == kRed ? red_ : orange_;
                set.add(measures[static_cast<std::size_t>(k)]);
                recordedCount = set.count();
                recordedColor = sampleRequest_->cls == kRed ? 0 : 1;
            }
            sampleRequest_.reset();
        }
        out = overlay(frame, s);
    }
    if (recordedCount >= 0 && samplesRecorded) samplesRecorded(recordedCount, recordedColor);
    return out;
}

// Called with the lock held, after the live tables were written.
FrameOverlay Webcam::overlay(const FrameView& frame, const WebcamSettings& s) const {
    FrameOverlay out;
    const bool interactive = s.mode == ScanMode::Interactive;
    for (int k = 0; k < kSquares; ++k) {
        const ColorMeasure& m = live_[static_cast<std::size_t>(k)];
        SquareOverlay& sq = out.squares[static_cast<std::size_t>(k)];
        sq.rect = squareRect(frame.width, frame.height, k % 3, k / 3, s.spacing);
        sq.cls = liveClasses_[static_cast<std::size_t>(k)];
        sq.classFrame = interactive;
        if (interactive)
            sq.label = std::string(classLabel(sq.cls));
        else
            sq.label = std::to_string(s.shown == ShownMeasure::Hue          ? m.hue
                                      : s.shown == ShownMeasure::Saturation ? m.saturation
                                                                            : m.value);
        out.overexposed = out.overexposed || m.overexposed();
    }
    out.samplesWanted = interactive && (red_.count() < 2 || orange_.count() < 2);
    return out;
}

WebcamSettings Webcam::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void Webcam::setSettings(const WebcamSettings& settings) {
    std::lock_guard lock(mutex_);
    if (settings.mode != settings_.mode) transferred_ = false;
    settings_ = settings;
}

void Webcam::requestSample(int cls, int x, int y) {
    std::lock_guard lock(mutex_);
    sampleRequest_ = SampleRequest{cls == kRed ? kRed : kOrange, x, y};
}

void Webcam::clearSamples() {
    std::lock_guard lock(mutex_);
    red_.clear();
    orange_.clear();
}

int Webcam::sampleCount(int cls) const {
    std::lock_guard lock(mutex_);
    return cls == kRed ? red_.count() : orange_.count();
}

char Webcam::face() const {
    std::lock_guard lock(mutex_);
    return kScanOrder[static_cast<std::size_t>(faceIndex_)];
}

void Webcam::setFace(char face) {
    const auto at = kScanOrder.find(face);
    if (at == std::string_view::npos) return;
    std::lock_guard lock(mutex_);
    faceIndex_ = static_cast<int>(at);
}

bool Webcam::scanned(char face) const {
    const int f = colorOfLetter(face);
    if (f < 0) return false;
    std::lock_guard lock(mutex_);
    return scanned_[static_cast<std::size_t>(f)];
}

void Webcam::scan() {
    std::lock_guard lock(mutex_);
    const char letter = kScanOrder[static_cast<std::size_t>(faceIndex_)];
    const int face = colorOfLetter(letter);
    const auto measures = holdTurned(letter, live_);
    const auto classes = holdTurned(letter, liveClasses_);
    for (int k = 0; k < kSquares; ++k) {
        const int facelet = 9 * face + k;
        stored_[static_cast<std::size_t>(facelet)] = measures[static_cast<std::size_t>(k)];
        const int cls = classes[static_cast<std::size_t>(k)];
        if (settings_.mode == ScanMode::Interactive && cls != kUnknownClass)
            cube_.f[static_cast<std::size_t>(facelet)] = static_cast<std::uint8_t>(cls);
    }
    scanned_[static_cast<std::size_t>(face)] = true;
    transferred_ = false;
    faceIndex_ = (faceIndex_ + 1) % static_cast<int>(kScanOrder.size());
}

bool Webcam::transferEnabled() const {
    std::lock_guard lock(mutex_);
    if (settings_.mode == ScanMode::Interactive) return !transferred_;
    return std::all_of(scanned_.begin(), scanned_.end(), [](bool b) { return b; });
}

CubeClasses Webcam::cubeClasses() const {
    CubeClasses classes{};
    for (int i = 0; i < kFacelets; ++i) {
        const int v = cube_.f[static_cast<std::size_t>(i)];
        classes[static_cast<std::size_t>(i)] = v < kColorClasses ? v : kUnknownClass;
    }
    return classes;
}

HandOver Webcam::transfer() {
    std::lock_guard lock(mutex_);
    CubeClasses classes{};
    if (settings_.mode == ScanMode::Interactive) {
        classes = cubeClasses();
        // Over-exposed yellow looks grey: more than nine whites cannot be told apart.
        if (std::count(classes.begin(), classes.end(), int(kWhite)) > 9) return HandOver{kTooBrightText, {}, {}};
    } else {
        const AutoClassification result = classifyAutomatic(stored_, settings_.thresholds, settings_.split);
        if (!result.ok()) return HandOver{result.failure, {}, {}};
        classes = result.classes;
    }
    HandOver out = handOver(classes);
    if (!out.failure.empty()) return out;
    for (int i = 0; i < kFacelets; ++i) {
        const int cls = classes[static_cast<std::size_t>(i)];
        cube_.f[static_cast<std::size_t>(i)] = cls == kUnknownClass ? kUndefinedFacelet : static_cast<std::uint8_t>(cls);
    }
    scanned_.fill(false);
    transferred_ = true;
    return out;
}

void Webcam::clearCube() {
    std::lock_guard lock(mutex_);
    cube_.f.fill(kUndefinedFacelet);
    liveClasses_.fill(kUnknownClass);
    scanned_.fill(false);
    faceIndex_ = 0;
}

FaceletCube Webcam::cube() const {
    std::lock_guard lock(mutex_);
    return cube_;
}

FaceMeasures Webcam::liveMeasures() const {
    std::lock_guard lock(mutex_);
    return live_;
}

std::array<int, kSquares> Webcam::liveClasses() const {
    std::lock_guard lock(mutex_);
    return liveClasses_;
}

CubeMeasures Webcam::storedMeasures() const {
    std::lock_guard lock(mutex_);
    return stored_;
}

}  // namespace tx
