#pragma once

#include <memory>

#include "tests/driver_if/backend_rig.h"

namespace backendtest {

// The socket backend in front of a talvcard process serving the demo cards.
std::unique_ptr<BackendRig> MakeSocketRig();

}  // namespace backendtest
