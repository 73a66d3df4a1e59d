#pragma once
// Fixture of the layer check: an engine file that includes Qt (never compiled).
#include <QString>
