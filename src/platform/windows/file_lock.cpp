#include <windows.h>

#include "platform/file_lock.hpp"

namespace velmora {
namespace {

std::error_code systemError(DWORD code) { return {static_cast<int>(code), std::system_category()}; }

// A lock file is refused as access denied while the last program to hold it lets go and the
// system removes it; a folder that refuses new files looks the same, but has no such file. A
// few tries tell the two apart.
constexpr int kMaxTries = 3;

HANDLE openLockFile(const std::filesystem::path& lockFile) {
  // Every handle deletes the file as the last of them closes, also when its process is killed,
  // so no lock file stays behind; each shares deletion so that the others can open it too.
  return CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Whether a file of that name is there, also one that is going and refuses to be looked at.
bool isThere(const std::filesystem::path& file) {
  if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return true;
  }
  const DWORD refusal = GetLastError();
  return refusal != ERROR_FILE_NOT_FOUND && refusal != ERROR_PATH_NOT_FOUND;
}

// Whether something that is no lock file has its name: a folder, a link, a read-only file or
// one with data. A lock file is opened to be deleted as it closes, so nothing else may be.
bool isInTheWay(const std::filesystem::path& file) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) == 0) {
    return false;  // not there, or going
  }
  constexpr DWORD kNoLockFile =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
  return (data.dwFileAttributes & kNoLockFile) != 0 || data.nFileSizeHigh != 0 ||
         data.nFileSizeLow != 0;
}

bool isGoing(HANDLE handle) {
  FILE_STANDARD_INFO info{};
  return GetFileInformationByHandleEx(handle, FileStandardInfo, &info, sizeof info) != 0 &&
         info.DeletePending != FALSE;
}

}  // namespace

FileLock::Attempt FileLock::tryLock(const std::filesystem::path& lockFile) {
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int tries = 1; handle == INVALID_HANDLE_VALUE; ++tries) {
    if (isInTheWay(lockFile)) {
      return {kNoHandle, State::kInTheWay, {}};
    }
    handle = openLockFile(lockFile);
    if (handle != INVALID_HANDLE_VALUE) {
      break;
    }
    const DWORD refusal = GetLastError();
    if ((refusal == ERROR_ACCESS_DENIED || refusal == ERROR_SHARING_VIOLATION) &&
        isThere(lockFile)) {
      return {kNoHandle, State::kBusy, {}};
    }
    if (refusal == ERROR_PATH_NOT_FOUND) {
      return {kNoHandle, State::kUnavailable, systemError(refusal)};
    }
    if (refusal != ERROR_ACCESS_DENIED) {
      return {kNoHandle, State::kUnsupported, systemError(refusal)};
    }
    if (tries == kMaxTries) {
      return {kNoHandle, State::kUnavailable, systemError(refusal)};
    }
  }
  // The byte locked lies past the end of the empty file: Windows' locks keep others from
  // reading what they cover, and no one reads this file.
  OVERLAPPED at{};
  if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) == 0) {
    const DWORD refusal = GetLastError();
    CloseHandle(handle);
    if (refusal == ERROR_LOCK_VIOLATION || refusal == ERROR_IO_PENDING) {
      return {kNoHandle, State::kBusy, {}};
    }
    return {kNoHandle, State::kUnsupported, systemError(refusal)};
  }
  // The lock of a file that is already going covers nothing that comes after it.
  if (isGoing(handle)) {
    CloseHandle(handle);
    return {kNoHandle, State::kBusy, {}};
  }
  return {reinterpret_cast<Handle>(handle), State::kHeld, {}};
}

void FileLock::unlock(Handle handle, const std::filesystem::path& /*lockFile*/) {
  // Closing the handle removes the file, unless a waiting program still has it open, which
  // then finds it going.
  CloseHandle(reinterpret_cast<HANDLE>(handle));
}

}  // namespace velmora
