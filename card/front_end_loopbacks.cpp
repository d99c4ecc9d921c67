#include "card/front_end_loopbacks.h"

namespace card {

Reply<ActiveLoopbacks> ReadActiveLoopbacks(CommandExecutor& exec) {
  const Reply<uint8_t> reg = ReadFrontEndRegister(exec, kLoopbackRegister);
  return {reg.rc, ActiveLoopbacks{reg.value}};
}

}  // namespace card
