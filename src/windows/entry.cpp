// Where Windows starts mizona.exe. There is no C runtime: nothing runs
// before this, no static constructors exist, and the process ends here with
// ExitProcess, as there is no runtime to return to.
#include "platform.h"
#include "toggle.h"

extern "C" void MizonaStart() { ExitProcess(static_cast<UINT>(RunToggle())); }
