#pragma once
// Fixture of the layer check: a lower layer that includes a higher one (never compiled).
#include "workspace/cube_list.hpp"
