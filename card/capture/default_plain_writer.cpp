#include "card/capture/capture_writer.h"

namespace capture {

// Builds without libpcap write the format by hand.
std::unique_ptr<CaptureWriter> MakeCaptureWriter() { return MakePlainCaptureWriter(); }

}  // namespace capture
