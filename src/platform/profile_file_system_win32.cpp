// The profile seam over Win32. Descriptors are the C runtime's, each over a handle opened
// with every sharing mode.
//
// Windows will not rename a file over one that has an open handle, not even the writer's
// own, so the writer's lock cannot be a lock on the file it replaces, as it is elsewhere:
// it is a named mutex of the file's full path, taken by `flock` and given back by `close`.
// A writer waiting for it holds no handle meanwhile (its descriptor points at NUL), and
// reopens the path once it has the mutex, so it always reads the file that is there then.
// `rename` lets go of our own handles on its target first and tries again while a reader
// elsewhere has the file open for a moment.

#include "platform/profile_file_system.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <map>

#include <sys/stat.h>
#include <windows.h>

#include "platform/posix_io.h"

namespace zadeve::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// How long a rename waits for readers elsewhere to close the file: 200 tries of 5 ms.
constexpr int kRenameTries = 200;
constexpr DWORD kRenamePauseMs = 5;
// 100 ns ticks between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000LL;

int failWith(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      errno = ENOENT;
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      errno = EEXIST;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      errno = EACCES;
      break;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
      errno = ENOLCK;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    default:
      errno = EIO;
  }
  return -1;
}

std::int64_t unixNs(std::int64_t fileTimeTicks) { return (fileTimeTicks - kUnixEpochTicks) * 100; }

std::int64_t ticks(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

std::string fullPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  std::string full = length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
  for (char& c : full) c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return full;
}

// One mutex per file, for every process of the session.
std::string mutexName(const std::string& full) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (unsigned char c : full) hash = (hash ^ c) * 1099511628211ULL;
  char name[64];
  std::snprintf(name, sizeof name, "Local\\zadeve-profile-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

struct Descriptor {
  std::string path;      // as opened
  std::string full;      // normalised, to compare
  int access = 0;        // O_RDONLY, O_WRONLY or O_RDWR
  HANDLE mutex = nullptr;  // held while the descriptor holds the writer's lock
};

std::map<int, Descriptor>& descriptors() {
  static std::map<int, Descriptor> open;
  return open;
}

// Points `fd` at NUL, closing its handle on the file; the descriptor stays valid.
void detach(int fd) {
  const int nul = ::_open("NUL", _O_RDONLY | _O_BINARY);
  if (nul < 0) return;
  ::_dup2(nul, fd);
  ::_close(nul);
}

void releaseMutex(Descriptor& d) {
  if (!d.mutex) return;
  ReleaseMutex(d.mutex);
  CloseHandle(d.mutex);
  d.mutex = nullptr;
}

// What stat and fstat both report: size, type, the read-only bit and the write time. No
// file identity: reading it (file index, volume serial) costs a handle and milliseconds a
// call under Wine, and Windows needs none here. A file cannot be renamed over while anyone
// has it open, so the file a writer opened stays the one its path names; a replaced file
// shows in its write time, and the cache's racy window covers one written in the same tick.
FileStat describe(std::int64_t size, DWORD attributes, const FILETIME& written) {
  FileStat out;
  out.size = size;
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  out.mode = ((attributes & FILE_ATTRIBUTE_DIRECTORY) ? S_IFDIR | 0755 : S_IFREG) | (readOnly ? 0444 : 0666);
  out.modifiedNs = out.changedNs = unixNs(ticks(written));
  return out;
}

int statHandle(HANDLE handle, FileStat& out) {
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    out = {};
    out.mode = S_IFIFO;
    return 0;
  }
  FILE_BASIC_INFO basic;
  FILE_STANDARD_INFO standard;
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
    return failWith(GetLastError());
  FILETIME written;
  written.dwLowDateTime = static_cast<DWORD>(basic.LastWriteTime.QuadPart & 0xFFFFFFFF);
  written.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart) >> 32);
  out = describe(standard.EndOfFile.QuadPart, basic.FileAttributes, written);
  out.links = standard.NumberOfLinks;
  return 0;
}

int openHandle(const std::string& path, int flags) {
  if (flags & O_DIRECTORY) {  // a folder cannot be flushed here; the rename is durable already
    errno = EISDIR;
    return -1;
  }
  const int accessMode = flags & (O_RDONLY | O_WRONLY | O_RDWR);
  const DWORD access = accessMode == O_WRONLY ? GENERIC_WRITE
                       : accessMode == O_RDWR ? GENERIC_READ | GENERIC_WRITE
                                              : GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  if ((flags & O_CREAT) && (flags & O_EXCL)) disposition = CREATE_NEW;
  else if ((flags & O_CREAT) && (flags & O_TRUNC)) disposition = CREATE_ALWAYS;
  else if (flags & O_CREAT) disposition = OPEN_ALWAYS;
  else if (flags & O_TRUNC) disposition = TRUNCATE_EXISTING;
  HANDLE handle = CreateFileA(path.c_str(), access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return failWith(GetLastError());
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), accessMode | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    errno = EMFILE;
  }
  return fd;
}


}  // namespace

FileSystem& systemFileSystem() {
  static Win32FileSystem instance;
  return instance;
}

int Win32FileSystem::open(const std::string& path, int flags, unsigned) {
  const int fd = openHandle(path, flags);
  if (fd >= 0) descriptors()[fd] = Descriptor{path, fullPath(path), flags & (O_RDONLY | O_WRONLY | O_RDWR)};
  return fd;
}

std::ptrdiff_t Win32FileSystem::read(int fd, char* buffer, std::size_t count) {
  return ::_read(fd, buffer, static_cast<unsigned>(count > INT_MAX ? INT_MAX : count));
}

std::ptrdiff_t Win32FileSystem::write(int fd, const char* buffer, std::size_t count) {
  return ::_write(fd, buffer, static_cast<unsigned>(count > INT_MAX ? INT_MAX : count));
}

int Win32FileSystem::fsync(int fd) { return ::_commit(fd); }
int Win32FileSystem::close(int fd) {
  if (auto it = descriptors().find(fd); it != descriptors().end()) {
    releaseMutex(it->second);
    descriptors().erase(it);
  }
  return ::_close(fd);
}

int Win32FileSystem::stat(const std::string& path, FileStat& out) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return failWith(GetLastError());
  const auto size = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  out = describe(size, data.dwFileAttributes, data.ftLastWriteTime);
  return 0;
}

int Win32FileSystem::fstat(int fd, FileStat& out) {
  HANDLE handle = handleOf(fd);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = EBADF;
    return -1;
  }
  return statHandle(handle, out);
}

int Win32FileSystem::access(const std::string& path, int how) { return ::_access(path.c_str(), how); }

// Windows keeps neither POSIX permission bits nor owners; the new file has the defaults.
int Win32FileSystem::fchmod(int, unsigned) { return 0; }
int Win32FileSystem::fchown(int, std::uint32_t, std::uint32_t) { return 0; }

int Win32FileSystem::rename(const std::string& from, const std::string& to) {
  const std::string target = fullPath(to);
  for (auto& [fd, d] : descriptors())
    if (d.full == target) detach(fd);
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kRenameTries; ++attempt) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) break;
    Sleep(kRenamePauseMs);
  }
  return failWith(error);
}

int Win32FileSystem::unlink(const std::string& path) {
  return DeleteFileA(path.c_str()) ? 0 : failWith(GetLastError());
}

std::optional<std::string> Win32FileSystem::realPath(const std::string& path) {
  // Like realpath, only for something that exists.
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    failWith(GetLastError());
    return std::nullopt;
  }
  char buffer[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::string(buffer, length);
}

int Win32FileSystem::flock(int fd, int operation) {
  return lockWithin(fd, operation, (operation & LOCK_NB) ? 0 : -1);
}

// A negative timeout waits for ever. Only writers take the mutex for long; a reader's
// LOCK_SH takes it too, for the moment of its read.
int Win32FileSystem::lockWithin(int fd, int operation, int timeoutMs) {
  auto it = descriptors().find(fd);
  if (it == descriptors().end()) {
    errno = EBADF;
    return -1;
  }
  Descriptor& d = it->second;
  if (operation & LOCK_UN) {
    releaseMutex(d);
    return 0;
  }
  if (d.mutex) return 0;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName(d.full).c_str());
  if (!mutex) return failWith(GetLastError());
  const DWORD wait = (operation & LOCK_NB) ? 0 : timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  if (WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT) {
    if (wait == 0) {
      CloseHandle(mutex);
      errno = EWOULDBLOCK;
      return -1;
    }
    // Let go of the file while another writer replaces it, then take what is there.
    detach(fd);
    const DWORD got = WaitForSingleObject(mutex, wait);
    if (got == WAIT_TIMEOUT) {
      // Given up: the descriptor names the file again, for a reader that reads regardless.
      CloseHandle(mutex);
      const int fresh = openHandle(d.path, d.access);
      if (fresh >= 0) {
        ::_dup2(fresh, fd);
        ::_close(fresh);
      }
      errno = EWOULDBLOCK;
      return -1;
    }
    if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) {
      CloseHandle(mutex);
      return failWith(GetLastError());
    }
    const int fresh = openHandle(d.path, d.access);
    if (fresh < 0) {
      const int error = errno;
      ReleaseMutex(mutex);
      CloseHandle(mutex);
      errno = error;
      return -1;
    }
    ::_dup2(fresh, fd);
    ::_close(fresh);
  }
  // WAIT_ABANDONED also makes us the owner: a writer that died left the file whole.
  d.mutex = mutex;
  return 0;
}

int Win32FileSystem::ftruncate(int fd, std::int64_t size) {
  const errno_t error = ::_chsize_s(fd, size);
  return error == 0 ? 0 : (errno = error, -1);
}

std::optional<std::vector<std::string>> Win32FileSystem::listFolder(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    failWith(GetLastError());
    return std::nullopt;
  }
  std::vector<std::string> names;
  do {
    const std::string_view name = entry.cFileName;
    if (name != "." && name != "..") names.emplace_back(name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

int Win32FileSystem::processId() { return static_cast<int>(GetCurrentProcessId()); }

// Only signal 0 (does the process exist?) is ever sent.
int Win32FileSystem::kill(int pid, int) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) {
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EPERM : ESRCH;
    return -1;
  }
  DWORD exitCode = 0;
  const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
  CloseHandle(process);
  if (running) return 0;
  errno = ESRCH;
  return -1;
}

std::int64_t Win32FileSystem::nowNs() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return unixNs(ticks(now));
}

}  // namespace zadeve::platform
