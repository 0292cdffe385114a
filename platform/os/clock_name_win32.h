// Windows' own timeGetTime, declared first, then the name pointed at the
// game's replaceable clock (os.h). Every later reader of mmsystem.h is kept
// out by its include guard, so the two declarations never meet.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

#define timeGetTime vekotraTimeGetTime
