#pragma once
// Opens where a capture goes, never blocking on a FIFO without a reader.

#include <cstdio>
#include <string>

#include "card/capture/capture_writer.h"

namespace capture {

struct OpenedTarget {
  std::FILE* file = nullptr;  // blocking writes; the caller closes it
  WriteStatus status = WriteStatus::CannotOpen;
};

OpenedTarget OpenCaptureTarget(const std::string& path);

// What a failed write or flush means, from errno.
WriteStatus WriteFailure(int error);

}  // namespace capture
