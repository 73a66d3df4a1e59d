#pragma once
#include "command.hpp"

namespace tx::cli {

// "bench symmetry [--rows A-B]": counts and times of whole symmetry enumerations.
int benchSymmetry(Args args);

}  // namespace tx::cli
