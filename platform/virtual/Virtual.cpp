#include "platform/virtual/Virtual.h"

#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualMedia.h"

void UseVirtualBackend() {
  UseVirtualEvents();
  UseVirtualMedia();
}
