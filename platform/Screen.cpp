#include "platform/Screen.h"

namespace {
void Nothing(TForm&) {}
// Until a back end is chosen, forms live without a screen.
ScreenOps currentOps{Nothing, Nothing, Nothing, Nothing};
}  // namespace

void SetScreenOps(const ScreenOps& ops) {
  currentOps = ops;
}
const ScreenOps& GetScreenOps() {
  return currentOps;
}
