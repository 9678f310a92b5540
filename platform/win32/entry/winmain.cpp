// The Windows entry of the program: everything else happens in App_Start.

#include <windows.h>

#include "app/app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return App_Start(); }
