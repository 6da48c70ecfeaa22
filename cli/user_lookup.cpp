// The statically linked calvoro-cli answers editline's user lookups (the home
// folder for "~" in file-name completion, user-name completion) from the
// environment instead of glibc's name-service modules, which a static program
// could only load from the exact glibc it was built with. The link redirects
// editline's calls here (--wrap); only the user running the program is known.
#ifdef CALVORO_STATIC_CLI
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The current user as the environment gives it, or null without HOME.
passwd* CurrentUser() {
  static passwd user;
  const char* home = std::getenv("HOME");
  if (home == nullptr) return nullptr;
  const char* name = std::getenv("USER");
  if (name == nullptr) name = std::getenv("LOGNAME");
  static char empty[] = "";
  user.pw_name = const_cast<char*>(name != nullptr ? name : "");
  user.pw_passwd = empty;
  user.pw_uid = getuid();
  user.pw_gid = getgid();
  user.pw_gecos = empty;
  user.pw_dir = const_cast<char*>(home);
  user.pw_shell = empty;
  return &user;
}

// Copies the current user into the caller's buffers (the reentrant forms).
int CopyUser(passwd* found, passwd* out, char* buffer, size_t size, passwd** result) {
  *result = nullptr;
  if (found == nullptr) return 0;
  const size_t name = std::strlen(found->pw_name) + 1;
  const size_t dir = std::strlen(found->pw_dir) + 1;
  if (name + dir + 1 > size) return ERANGE;
  *out = *found;
  out->pw_name = std::strcpy(buffer, found->pw_name);
  out->pw_dir = std::strcpy(buffer + name, found->pw_dir);
  out->pw_passwd = out->pw_gecos = out->pw_shell = buffer + name + dir;
  out->pw_passwd[0] = '\0';
  *result = out;
  return 0;
}

bool IsCurrentUser(const char* name) {
  const passwd* user = CurrentUser();
  return user != nullptr && name != nullptr && std::strcmp(user->pw_name, name) == 0;
}

}  // namespace

extern "C" {

passwd* __wrap_getpwuid(uid_t uid) { return uid == getuid() ? CurrentUser() : nullptr; }

int __wrap_getpwuid_r(uid_t uid, passwd* out, char* buffer, size_t size, passwd** result) {
  return CopyUser(uid == getuid() ? CurrentUser() : nullptr, out, buffer, size, result);
}

int __wrap_getpwnam_r(const char* name, passwd* out, char* buffer, size_t size, passwd** result) {
  return CopyUser(IsCurrentUser(name) ? CurrentUser() : nullptr, out, buffer, size, result);
}

// No list of users: user-name completion offers nothing.
passwd* __wrap_getpwent() { return nullptr; }
void __wrap_setpwent() {}
void __wrap_endpwent() {}

}  // extern "C"
#endif
