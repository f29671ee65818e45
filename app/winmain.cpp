// Entry point of the Windows program: start the designer, run the message
// loop until the quit message, return its code.
#include "app/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  if (!quorvin::startDesigner(instance, showCommand)) return 0;
  return quorvin::runMessageLoop();
}
