// The capture writer on libpcap, which owns the file format.

#include <pcap/pcap.h>

#include <cerrno>

#include "card/capture/capture_target.h"

namespace capture {
namespace {

class PcapCaptureWriter : public CaptureWriter {
 public:
  PcapCaptureWriter() : dead_(pcap_open_dead(DLT_C_HDLC, kSnapLength)) {}
  ~PcapCaptureWriter() override {
    close();
    if (dead_ != nullptr) pcap_close(dead_);
  }

  WriteStatus open(const std::string& path) override {
    close();
    if (dead_ == nullptr) return WriteStatus::CannotOpen;
    const OpenedTarget target = OpenCaptureTarget(path);
    if (target.file == nullptr) return target.status;
    file_ = target.file;
    dumper_ = pcap_dump_fopen(dead_, file_);
    if (dumper_ == nullptr) {
      std::fclose(file_);
      file_ = nullptr;
      return WriteStatus::CannotWrite;
    }
    return flush();
  }

  WriteStatus write(std::chrono::system_clock::time_point time, std::span<const uint8_t> bytes) override {
    if (dumper_ == nullptr) return WriteStatus::CannotWrite;
    using namespace std::chrono;
    const auto since_epoch = duration_cast<microseconds>(time.time_since_epoch());
    const auto whole = duration_cast<seconds>(since_epoch);
    pcap_pkthdr header{};
    header.ts.tv_sec = static_cast<time_t>(whole.count());
    header.ts.tv_usec = static_cast<suseconds_t>((since_epoch - whole).count());
    header.caplen = static_cast<bpf_u_int32>(bytes.size());
    header.len = header.caplen;
    pcap_dump(reinterpret_cast<u_char*>(dumper_), &header, bytes.data());
    // pcap_dump reports nothing; the stream remembers a failed write.
    if (std::ferror(file_)) return fail();
    return WriteStatus::Written;
  }

  WriteStatus flush() override {
    if (dumper_ == nullptr) return WriteStatus::CannotWrite;
    errno = 0;
    if (pcap_dump_flush(dumper_) != 0 || std::ferror(file_)) return fail();
    return WriteStatus::Written;
  }

  void close() override {
    // pcap_dump_close closes the stream too.
    if (dumper_ != nullptr) pcap_dump_close(dumper_);
    dumper_ = nullptr;
    file_ = nullptr;
  }

  bool isOpen() const override { return dumper_ != nullptr; }

 private:
  WriteStatus fail() {
    const WriteStatus status = WriteFailure(errno);
    close();
    return status;
  }

  pcap_t* dead_ = nullptr;
  pcap_dumper_t* dumper_ = nullptr;
  std::FILE* file_ = nullptr;
};

}  // namespace

std::unique_ptr<CaptureWriter> MakeCaptureWriter() { return std::make_unique<PcapCaptureWriter>(); }

}  // namespace capture
