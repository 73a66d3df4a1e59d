#pragma once
// Fixture of the layer check (never compiled): key output that includes Qt.
#include <QKeyEvent>
