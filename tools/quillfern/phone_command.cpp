#include <cstdio>

#include "tools/quillfern/commands.h"

namespace qf::cli {

int run_phone_command(int, char**) {
  std::fputs("quillfern phone: not available in this build yet\n", stderr);
  return 2;
}

}  // namespace qf::cli
