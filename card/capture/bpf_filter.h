#pragma once
// A capture filter in the usual filter expression language, applied to
// C_HDLC frames before they are written. Needs libpcap.

#include <cstdint>
#include <span>
#include <string>

struct bpf_program;

namespace capture {

class BpfFilter {
 public:
  BpfFilter();
  ~BpfFilter();
  BpfFilter(const BpfFilter&) = delete;
  BpfFilter& operator=(const BpfFilter&) = delete;

  // Empty on success, else why the expression does not compile; the filter
  // then keeps what it had. An empty expression lets every frame through.
  std::string compile(const std::string& expression);
  bool matches(std::span<const uint8_t> bytes) const;

 private:
  bpf_program* program_ = nullptr;
};

}  // namespace capture
