#pragma once

#include <sys/types.h>

// The resident memory of a process in KiB (VmRSS), or -1 when it cannot be read.
long ResidentKiB(pid_t pid);
