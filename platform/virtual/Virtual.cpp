#include "platform/virtual/Virtual.h"

#include "platform/virtual/VirtualEvents.h"

void UseVirtualBackend() {
  UseVirtualEvents();
}
