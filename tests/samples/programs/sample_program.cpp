// The program the sample installers install: it opens no window and ends at
// once. What the tests look at is the file itself, its icon and its version
// resource, and where each installer puts it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
