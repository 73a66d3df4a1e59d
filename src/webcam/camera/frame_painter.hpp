#pragma once
// The frame callback's work on one picture: measure and classify it through the webcam model,
// then draw the grid, the class frames and labels, and the hints into a copy of it.
#include <QImage>

#include "webcam/webcam.hpp"

class QPainter;

namespace tx {

// Draws what the overlay says into a frame of the given height.
void drawOverlay(QPainter& painter, const FrameOverlay& overlay, int frameHeight);

// Runs the frame through the webcam (on the calling thread) and answers the annotated picture.
QImage processCameraFrame(Webcam& webcam, const QImage& frame);

}  // namespace tx
