// Saving onto storage that fails: a full disk, a file-size limit, a
// read-only mount and a folder without write permission. Every save of the
// core (project file, setting.ini, generated source) must report the failure
// and leave the previous file as it was, byte for byte, with no temporary
// file left behind.
//
// Each case runs in a child process, so that what it changes (a mount
// namespace with a small tmpfs, a resource limit, dropped capabilities) ends
// with it and never touches the machine or the other tests. The child
// reports through a pipe; a mechanism the system refuses (no mount namespace
// in a locked-down container) makes the case skip with the reason.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "app/settings_file.h"
#include "codegen/code_output.h"
#include "common/file_io.h"
#include "tests/temp_dir.h"

namespace quorvin {
namespace {

namespace fs = std::filesystem;

// What a child found: failures to report, or why it could not run.
struct ChildReport {
  std::string failures;
  std::string skipReason;

  void check(bool condition, const std::string& what) {
    if (!condition) failures += what + "\n";
  }
};

// Runs `body` in a forked child and turns its report into the test's result.
void runInChild(const std::function<void(ChildReport&)>& body) {
  std::fflush(nullptr);
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0) << std::strerror(errno);
  if (child == 0) {
    close(pipeEnds[0]);
    ChildReport report;
    body(report);
    const std::string message =
        report.skipReason.empty() ? "F" + report.failures : "S" + report.skipReason;
    for (std::size_t at = 0; at < message.size();) {
      const ssize_t n = write(pipeEnds[1], message.data() + at, message.size() - at);
      if (n <= 0) break;
      at += static_cast<std::size_t>(n);
    }
    _exit(0);
  }
  close(pipeEnds[1]);
  std::string message;
  char buffer[512];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    message.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeEnds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child process died";
  ASSERT_FALSE(message.empty()) << "the child process reported nothing";
  if (message[0] == 'S') GTEST_SKIP() << message.substr(1);
  EXPECT_EQ(message.substr(1), "");
}

std::string lastError() { return std::strerror(errno); }

// A private mount namespace for this process, as root or, failing that, as
// root of a new user namespace. Mounts made afterwards vanish with the
// process. Returns an empty text or why it is not possible.
std::string enterMountNamespace() {
  if (unshare(CLONE_NEWNS) != 0) {
    const std::string plain = lastError();
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
      return "no mount namespace (" + plain + ", user namespace: " + lastError() + ")";
    const auto writeTo = [](const char* path, const std::string& text) {
      const int fd = open(path, O_WRONLY);
      if (fd < 0) return false;
      const bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      close(fd);
      return ok;
    };
    if (!writeTo("/proc/self/setgroups", "deny") ||
        !writeTo("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !writeTo("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
      return "cannot map the user namespace: " + lastError();
  }
  // Source and type are ignored here; valgrind wants them to be texts.
  if (mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) != 0)
    return "cannot make the mounts private: " + lastError();
  return {};
}

// A 64 KiB tmpfs over `folder`, in a private mount namespace.
std::string mountSmallTmpfs(const fs::path& folder) {
  std::string reason = enterMountNamespace();
  if (!reason.empty()) return reason;
  if (mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") != 0)
    return "cannot mount a tmpfs: " + lastError();
  return {};
}

// A design whose file takes about `bytes` bytes.
void makeDesign(std::size_t bytes, Project& p, std::vector<DesignObject>& objects) {
  p = Project();
  p.title = "Test";
  p.className = "TestClass";
  p.width = 200;
  p.height = 200;
  p.font = defaultFontSpec();
  const std::size_t count = bytes / 100 + 1;
  objects.assign(count, DesignObject());
  p.objectCount = static_cast<std::int32_t>(count);
  for (std::size_t i = 0; i < count; ++i) {
    objects[i].caption = std::string(50, 'c') + std::to_string(i);
    objects[i].idName = "ID_BUTTON" + std::to_string(i);
    objects[i].style = 0x50010000;
  }
}

// The three files the core writes, with their previous contents; each
// attempt to replace them must fail and keep them.
struct Files {
  fs::path folder;
  fs::path project() const { return folder / "design.mwd"; }
  fs::path settings() const { return folder / "setting.ini"; }
  fs::path code() const { return folder / "window.c"; }
};

void writePrevious(const Files& files, ChildReport& report) {
  Project p;
  std::vector<DesignObject> objects;
  makeDesign(200, p, objects);
  report.check(saveProject(files.project(), p, objects), "writing the previous project");
  report.check(writeSettings(files.settings(), {"hWnd", "hInst", "hFont", "hRgn", "pt"}),
               "writing the previous setting.ini");
  report.check(writeCodeFile(files.code(), "int previous;\n"), "writing the previous source");
}

struct Snapshot {
  std::vector<std::string> names;
  std::vector<std::string> contents;
};

Snapshot snapshotOf(const fs::path& folder) {
  Snapshot shot;
  std::vector<fs::path> paths;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  for (const fs::path& path : paths) {
    shot.names.push_back(path.filename().string());
    shot.contents.push_back(readFileBytes(path).value_or("<unreadable>"));
  }
  return shot;
}

// Tries every save of the core with new contents bigger than `bytes`, and
// checks that each one fails and that the folder is exactly as before.
void expectEverySaveFails(const Files& files, std::size_t bytes, ChildReport& report) {
  const Snapshot before = snapshotOf(files.folder);
  Project p;
  std::vector<DesignObject> objects;
  makeDesign(bytes, p, objects);
  report.check(!saveProject(files.project(), p, objects), "saveProject reported success");
  report.check(!writeSettings(files.settings(), {std::string(bytes, 'w'), "i", "f", "r", "p"}),
               "writeSettings reported success");
  report.check(!writeCodeFile(files.code(), std::string(bytes, 'x')),
               "writeCodeFile reported success");
  const Snapshot after = snapshotOf(files.folder);
  report.check(after.names == before.names, "the folder's files changed (a temporary file left?)");
  report.check(after.contents == before.contents, "a previous file changed");
}

// Fills the file system of `folder` up to its last `leaveBytes` bytes.
bool fillUp(const fs::path& folder, std::uint64_t leaveBytes) {
  struct statvfs info {};
  if (statvfs(folder.c_str(), &info) != 0) return false;
  const std::uint64_t free = std::uint64_t{info.f_bavail} * info.f_bsize;
  const std::uint64_t wanted = free > leaveBytes ? free - leaveBytes : 0;
  UniqueFile filler = openFile(folder / "filler", "wb");
  if (!filler) return false;
  const std::string block(4096, 'f');
  std::uint64_t written = 0;
  while (written < wanted) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), wanted - written));
    if (std::fwrite(block.data(), 1, n, filler.get()) != n) break;
    written += n;
  }
  std::fflush(filler.get());
  return true;
}

TEST(FailingStorage, FullDiskKeepsPreviousFiles) {
  TempDir dir;
  runInChild([&](ChildReport& report) {
    report.skipReason = mountSmallTmpfs(dir.path());
    if (!report.skipReason.empty()) return;
    const Files files{dir.path()};
    writePrevious(files, report);

    // Completely full: even a small file cannot be written.
    report.check(fillUp(files.folder, 0), "filling the disk");
    expectEverySaveFails(files, 300, report);

    // Nearly full: the write starts and runs out of space half-way.
    fs::remove(files.folder / "filler");
    report.check(fillUp(files.folder, 8192), "filling the disk up to 8 KiB");
    expectEverySaveFails(files, 40000, report);

    // With room again the same save succeeds: the failures were the disk's.
    fs::remove(files.folder / "filler");
    Project p;
    std::vector<DesignObject> objects;
    makeDesign(300, p, objects);
    report.check(saveProject(files.project(), p, objects), "saving once the disk has room");
  });
}

TEST(FailingStorage, FileSizeLimitKeepsPreviousFiles) {
  TempDir dir;
  runInChild([&](ChildReport& report) {
    const Files files{dir.path()};
    writePrevious(files, report);
    // Writes past the limit fail with EFBIG instead of raising SIGXFSZ.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
      report.skipReason = "cannot limit the file size: " + lastError();
      return;
    }
    expectEverySaveFails(files, 40000, report);
  });
}

TEST(FailingStorage, ReadOnlyMountKeepsPreviousFiles) {
  TempDir dir;
  runInChild([&](ChildReport& report) {
    report.skipReason = mountSmallTmpfs(dir.path());
    if (!report.skipReason.empty()) return;
    const Files files{dir.path()};
    writePrevious(files, report);
    if (mount("tmpfs", files.folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
      report.skipReason = "cannot remount the tmpfs read-only: " + lastError();
      return;
    }
    expectEverySaveFails(files, 300, report);
  });
}

// Root passes folder permissions by its capabilities; the child gives up the
// ones that do, so the permissions hold for it as for any user.
TEST(FailingStorage, FolderWithoutWritePermissionKeepsPreviousFiles) {
  TempDir dir;
  runInChild([&](ChildReport& report) {
    const Files files{dir.path()};
    writePrevious(files, report);
    fs::permissions(files.folder, fs::perms::owner_read | fs::perms::owner_exec);
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2] = {};
    if (syscall(SYS_capget, &header, caps) != 0) {
      report.skipReason = "cannot read the capabilities: " + lastError();
      return;
    }
    const std::uint32_t bypass =
        1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER;
    caps[0].effective &= ~bypass;
    if (syscall(SYS_capset, &header, caps) != 0) {
      report.skipReason = "cannot drop the capabilities: " + lastError();
      return;
    }
    expectEverySaveFails(files, 300, report);
  });
}

}  // namespace
}  // namespace quorvin
