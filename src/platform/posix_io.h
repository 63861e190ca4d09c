#pragma once
// The POSIX names the profile reader and writer speak through the FileSystem seam. On
// Windows the seam's implementation (profile_file_system_win32.cpp) gives them meaning; the
// flags that only POSIX has are no-ops there: handles are never inherited, a FIFO cannot
// sit at a profile's path, no terminal becomes a controlling one, and a folder cannot be
// opened to flush a rename.

#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#include <unistd.h>

#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif
#ifndef O_DIRECTORY
#define O_DIRECTORY 0x00200000  // outside the CRT's flags: the seam refuses it
#endif
#ifndef LOCK_EX
#define LOCK_SH 1
#define LOCK_EX 2
#define LOCK_NB 4
#define LOCK_UN 8
#endif
#else
#include <sys/file.h>
#include <unistd.h>
#endif
