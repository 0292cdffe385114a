// The user's cache and configuration folders, and the creation of a file's
// missing folders.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/os/os.h"
#include "tests/tools/temp_dir.h"

namespace {

// Sets or unsets an environment variable for one scope, then puts it back.
struct ScopedEnv {
  std::string name;
  bool had;
  std::string old;
  ScopedEnv(const char* n, const char* value) : name(n), had(getenv(n) != nullptr) {
    if (had) old = getenv(n);
    if (value != nullptr) setenv(n, value, 1); else unsetenv(n);
  }
  ~ScopedEnv() {
    if (had) setenv(name.c_str(), old.c_str(), 1); else unsetenv(name.c_str());
  }
};

// The configuration folder follows the cache folder's rules, from its own
// variable.
TEST(UserFolders, FollowTheXdgRules) {
  {
    ScopedEnv xdg("XDG_CACHE_HOME", "/var/tmp/c");
    ScopedEnv config("XDG_CONFIG_HOME", "/etc/p");
    ScopedEnv home("HOME", "/home/p");
    EXPECT_EQ(cacheFolder(), "/var/tmp/c/vekotra");
    EXPECT_EQ(configFolder(), "/etc/p/vekotra");
  }
  // Unset, empty or relative: the home folder's .cache and .config.
  for (const char* value : {static_cast<const char*>(nullptr), "", "relative/c"}) {
    ScopedEnv xdg("XDG_CACHE_HOME", value);
    ScopedEnv config("XDG_CONFIG_HOME", value);
    ScopedEnv home("HOME", "/home/p");
    EXPECT_EQ(cacheFolder(), "/home/p/.cache/vekotra") << (value ? value : "(unset)");
    EXPECT_EQ(configFolder(), "/home/p/.config/vekotra") << (value ? value : "(unset)");
  }
  // No HOME: the password database names the home folder.
  {
    ScopedEnv xdg("XDG_CACHE_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(cacheFolder(), std::string(entry->pw_dir) + "/.cache/vekotra");
  }
  // A relative HOME names no folder: nothing is written relative to wherever
  // the game happens to run.
  {
    ScopedEnv xdg("XDG_CACHE_HOME", nullptr);
    ScopedEnv home("HOME", "home/p");
    EXPECT_EQ(cacheFolder(), "");
  }
}

TEST(MakeParentFolders, CreatesEveryMissingFolderPrivately) {
  TempDir scratch;
  const std::string& root = scratch.path;
  ASSERT_FALSE(root.empty());
  // Doubled slashes as in the game's model paths.
  std::string file = root + "/cache/vekotra/data//map//earth3.3DS.pmap";
  ASSERT_TRUE(makeParentFolders(file));
  struct stat info;
  ASSERT_EQ(stat((root + "/cache/vekotra/data/map").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  // The file itself is not made, and a second call finds everything there.
  EXPECT_NE(access(file.c_str(), F_OK), 0);
  EXPECT_TRUE(makeParentFolders(file));
  // An existing folder keeps its permissions.
  ASSERT_EQ(stat(root.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);  // as mkdtemp made it
  chmod(root.c_str(), 0755);
  EXPECT_TRUE(makeParentFolders(root + "/cache/x"));
  ASSERT_EQ(stat(root.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);

  // A file where a folder should be: refused.
  std::ofstream(root + "/plain") << "x";
  EXPECT_FALSE(makeParentFolders(root + "/plain/sub/f.pmap"));
  EXPECT_FALSE(makeParentFolders(root + "/plain/f.pmap"));
  // A bare name lies in the working directory, which exists.
  EXPECT_TRUE(makeParentFolders("f.pmap"));
}

}  // namespace
