// The capture format written by hand, for builds without libpcap.

#include <array>
#include <cerrno>

#include "card/capture/capture_target.h"
#include "driver_if/le.h"

namespace capture {
namespace {

class PlainCaptureWriter : public CaptureWriter {
 public:
  ~PlainCaptureWriter() override { close(); }

  WriteStatus open(const std::string& path) override {
    close();
    const OpenedTarget target = OpenCaptureTarget(path);
    if (target.file == nullptr) return target.status;
    file_ = target.file;
    std::array<uint8_t, 24> header{};
    // Written little-endian on every host; readers tell the order by the magic.
    le::put_u32(header, 0, 0xA1B2C3D4);
    le::put_u16(header, 4, 2);
    le::put_u16(header, 6, 4);
    le::put_u32(header, 16, kSnapLength);
    le::put_u32(header, 20, kLinkTypeChdlc);
    if (!put(header)) return fail();
    return flush();
  }

  WriteStatus write(std::chrono::system_clock::time_point time, std::span<const uint8_t> bytes) override {
    if (file_ == nullptr) return WriteStatus::CannotWrite;
    using namespace std::chrono;
    const auto since_epoch = duration_cast<microseconds>(time.time_since_epoch());
    const auto whole = duration_cast<seconds>(since_epoch);
    std::array<uint8_t, 16> header{};
    le::put_u32(header, 0, static_cast<uint32_t>(whole.count()));
    le::put_u32(header, 4, static_cast<uint32_t>((since_epoch - whole).count()));
    le::put_u32(header, 8, static_cast<uint32_t>(bytes.size()));
    le::put_u32(header, 12, static_cast<uint32_t>(bytes.size()));
    if (!put(header) || !put(bytes)) return fail();
    return WriteStatus::Written;
  }

  WriteStatus flush() override {
    if (file_ == nullptr) return WriteStatus::CannotWrite;
    if (std::fflush(file_) != 0) return fail();
    return WriteStatus::Written;
  }

  void close() override {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
  }

  bool isOpen() const override { return file_ != nullptr; }

 private:
  bool put(std::span<const uint8_t> bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  }

  WriteStatus fail() {
    const WriteStatus status = WriteFailure(errno);
    close();
    return status;
  }

  std::FILE* file_ = nullptr;
};

}  // namespace

std::unique_ptr<CaptureWriter> MakePlainCaptureWriter() { return std::make_unique<PlainCaptureWriter>(); }

}  // namespace capture
