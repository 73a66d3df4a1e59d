#pragma once
// Fixture of the layer check (never compiled): webcam recognition that includes Qt.
#include <QImage>
