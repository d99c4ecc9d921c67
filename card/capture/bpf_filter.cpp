#include "card/capture/bpf_filter.h"

#include <pcap/pcap.h>

#include <memory>

#include "card/capture/capture_writer.h"

namespace capture {

BpfFilter::BpfFilter() = default;

BpfFilter::~BpfFilter() {
  if (program_ != nullptr) pcap_freecode(program_);
  delete program_;
}

std::string BpfFilter::compile(const std::string& expression) {
  std::unique_ptr<pcap_t, decltype(&pcap_close)> dead(pcap_open_dead(DLT_C_HDLC, kSnapLength), pcap_close);
  if (!dead) return "cannot prepare the filter";
  auto program = std::make_unique<bpf_program>();
  if (pcap_compile(dead.get(), program.get(), expression.c_str(), 1, PCAP_NETMASK_UNKNOWN) != 0)
    return pcap_geterr(dead.get());
  if (program_ != nullptr) pcap_freecode(program_);
  delete program_;
  program_ = program.release();
  return {};
}

bool BpfFilter::matches(std::span<const uint8_t> bytes) const {
  if (program_ == nullptr) return true;
  pcap_pkthdr header{};
  header.caplen = static_cast<bpf_u_int32>(bytes.size());
  header.len = header.caplen;
  return pcap_offline_filter(program_, &header, bytes.data()) != 0;
}

}  // namespace capture
