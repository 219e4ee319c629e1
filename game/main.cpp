// The program entry: the application with its title, the main window, the
// message loop.
#include <cstdlib>
#include <exception>

#include "game/Unit1.h"
#include "mixer/Mixer.h"
#include "platform/Application.h"
#include "platform/sdl/Sdl.h"

int main() {
  int status = EXIT_SUCCESS;
  try {
    MixerStartUp();
    UseSdlBackend();
    Application.Initialize();
    Application.Title = "モフロンちゃん";
    Application.CreateForm(Form1);
    Application.Run();
  } catch (...) {
    // Whatever escaped (above all, a form that could not be built) is
    // reported, and the program ends without a window.
    Application.DestroyForms();
    ReportUnhandledException(std::current_exception());
    status = EXIT_FAILURE;
  }
  ShutDownSdlBackend();
  return status;
}
