// Host services: the only way the program reaches the window, the input devices,
// time, chance and files. Two hosts sit behind these calls: a real SDL window and
// a headless one (platform/host.h). Results are 0 for success or an error number
// (platform/fail.h) where the caller is expected to check them. Include the one
// header a file needs, or this umbrella for all of them.
#pragma once

#include "platform/clock.h"
#include "platform/fail.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/screen.h"
