// The program's entry: everything happens in Application::run.
#include "app/Application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return Application::run(instance, showCommand);
}
