#include "platform/virtual/Virtual.h"

#include "platform/virtual/VirtualEvents.h"
#include "platform/virtual/VirtualMedia.h"
#include "platform/virtual/VirtualScreen.h"
#include "platform/virtual/VirtualWaveOut.h"

void UseVirtualBackend() {
  UseVirtualEvents();
  UseVirtualMedia();
  UseVirtualScreen();
  UseVirtualWaveOut();
}
