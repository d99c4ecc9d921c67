#pragma once

namespace bench {

// The one QApplication of the benchmark process, on the offscreen platform
// unless another is asked for.
void EnsureQtApplication();

}  // namespace bench
