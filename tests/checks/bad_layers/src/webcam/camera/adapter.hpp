#pragma once
// Fixture of the layer check (never compiled): the camera adapter may include Qt.
#include <QCamera>

#include "webcam/color.hpp"
