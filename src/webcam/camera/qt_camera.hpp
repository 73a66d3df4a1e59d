#pragma once
// A camera through Qt Multimedia: QCamera in a QMediaCaptureSession whose QVideoSink hands each
// frame, converted to an image, to onFrame on the thread that delivers it.
#include <QCameraDevice>
#include <QObject>

#include <memory>

#include "webcam/camera/frame_source.hpp"

class QMediaCaptureSession;
class QVideoSink;

namespace tx {

class QtCameraSource : public QObject, public FrameSource {
    Q_OBJECT
public:
    explicit QtCameraSource(const QCameraDevice& device, QObject* parent = nullptr);
    ~QtCameraSource() override;

    bool start() override;
    void stop() override;
    bool running() const override;
    std::vector<std::string> formats() const override;
    int format() const override { return format_; }
    void setFormat(int index) override;
    QCamera* camera() override { return camera_.get(); }

private:
    QCameraDevice device_;
    std::unique_ptr<QCamera> camera_;
    std::unique_ptr<QVideoSink> sink_;
    std::unique_ptr<QMediaCaptureSession> session_;
    int format_ = -1;
};

}  // namespace tx
