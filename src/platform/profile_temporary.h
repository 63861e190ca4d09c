#pragma once
// The temporary file a writer fills beside the file it replaces. Its name,
// ".<file name>.zadeve-<process id>-<n>.tmp", says whose it is: a writer killed between
// creating it and renaming it over the file leaves it behind, and a later writer of the
// same file removes it once that process is gone.

#include <optional>
#include <string>
#include <string_view>

#include "platform/profile_file_system.h"

namespace zadeve::platform {

struct ProfilePath {
  std::string folder;
  std::string name;
};

// "." for a bare name; empty `name` for a path ending in "/".
ProfilePath splitProfilePath(const std::string& path);

// Creates a new temporary for `file`, open for writing; -1 with errno set on failure.
int createProfileTemporary(FileSystem& fs, const ProfilePath& file, unsigned mode, std::string& tempPath);

// Writes all of `bytes`, going on after a short write; false with errno set (ENOSPC for a
// write that took nothing).
bool writeAllBytes(FileSystem& fs, int fd, std::string_view bytes);

// Writes an output file (a picture, a report) as a whole: into a temporary beside it,
// flushed, then renamed over it, so a failed write leaves the old file as it was. Through
// a symbolic link, the file it names is replaced; an existing file keeps its mode. A FIFO,
// a device or a folder at the path is refused (kNotRegularFile, EISDIR). Returns 0 or the
// reason.
int writeOutputFile(FileSystem& fs, const std::string& path, std::string_view bytes);

// The process id in `entry` when it is a temporary of the file `name` by exactly this scheme.
std::optional<int> profileTemporaryOwner(std::string_view entry, std::string_view name);

// Removes the temporaries of `file` whose writer is another process that no longer exists.
// Everything else stays: a live writer's temporary, and any name not of this scheme exactly.
// A dead writer's process id taken by a new process keeps its orphan until that one ends.
void removeOrphanedTemporaries(FileSystem& fs, const ProfilePath& file);

}  // namespace zadeve::platform
