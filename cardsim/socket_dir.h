#pragma once
// The daemon's socket directory: private to its user, held by one daemon
// at a time.

#include <memory>
#include <string>

namespace cardsim {

// Creates the directory (mode 0700) when it is missing. Refuses one that is
// not a directory, belongs to another user, or is group or world writable.
bool PrepareSocketDirectory(const std::string& directory, std::string* error);

// An exclusive lock on <directory>/talvcard.lock for the daemon's lifetime.
class DirectoryLock {
 public:
  // Null with an error when another daemon holds it.
  static std::unique_ptr<DirectoryLock> Acquire(const std::string& directory, std::string* error);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

 private:
  explicit DirectoryLock(int fd) : fd_(fd) {}
  int fd_;
};

// A listening AF_UNIX stream socket at path (mode 0600), replacing whatever
// was left there; -1 with an error on failure.
int ListenOn(const std::string& path, std::string* error);

}  // namespace cardsim
