// A write that fails halfway, as on a full disk, keeps the older file of the name byte for byte
// and leaves no other file behind, for every kind of file the core writes, projects among them.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "elements/value_list.h"
#include "frequency/netlist.h"
#include "project/random_project.h"
#include "shell/file_error.h"
#include "shell/file_limit.h"
#include "shell/text_file.h"
#include "simulation/circuits.h"
#include "simulation/run_host_fake.h"
#include "simulation/run_report.h"
#include "sweep/sweep.h"

using namespace kovaro;

namespace {

constexpr const char* kOld = "the older file's bytes\r\n";

std::vector<std::string> Names(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  return names;
}

}  // namespace

TEST(FailedWrite, KeepsTheOlderFileOfEveryKind) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  state->Elements = LosslessCoil();
  SimulationSettings s;
  RecordingHost run;
  RunSimulation(*state, s, run);
  Sweep sweep(state->Elements, s, SweptQuantity::Ca, SweepRange{1e-9L, 2e-9L, 2});
  while (!sweep.Done()) sweep.Next();
  const std::vector<std::pair<std::string, std::function<void(ReportLog&)>>> writers = {
      {"t.val",
       [](ReportLog& log) {
         WriteValueList("t.val", {{"Ca", 1}, {"La", 2}, {"Lb", 3}, {"Cb", 4}}, log);
       }},
      {"t.tab", [&](ReportLog& log) { WriteTableFile("t", state->Store, log); }},
      {"t.swp", [&](ReportLog& log) { ReportSweep("t", sweep, log); }},
      {"t.cir",
       [&](ReportLog& log) {
         ExportNetlist("t", state->Elements, s, {1000, 1e6L, 100}, log);
       }},
      {"t.png", [](ReportLog&) { WriteWholeFile("t.png", std::string(5000, 'p'), true); }},
  };
  for (const auto& [name, write] : writers) {
    std::ofstream(name, std::ios::binary) << kOld;
    RecordingHost log;
    std::string message;
    {
      const FileSizeLimit full(40);
      try {
        write(log);
      } catch (const FileError& e) {
        message = e.what();
      }
    }
    // The value list's and the table's message is the platform's text alone, as documented;
    // the later files are named.
    const bool documented = name == "t.val" || name == "t.tab";
    EXPECT_EQ(message, documented ? "I/O error 27" : "Cannot write " + name + ": I/O error 27");
    EXPECT_EQ(ReadFile(name), kOld) << name;
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{name}) << name;
    EXPECT_EQ(std::count_if(log.lines.begin(), log.lines.end(),
                            [](const std::string& l) { return l.find(" saved as ") != std::string::npos; }),
              0)
        << name;
    // Without the limit the same write replaces it.
    write(log);
    EXPECT_NE(ReadFile(name), kOld) << name;
    std::filesystem::remove(name);
  }
}

TEST(FailedWrite, ALinkIsFollowedAndAFileLeftUnclosedIsNotWritten) {
  ScopedWorkDir dir;
  std::ofstream("target.val") << kOld;
  std::filesystem::create_symlink("target.val", "link.val");
  WriteWholeFile("link.val", "new\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink("link.val"));
  EXPECT_EQ(ReadFile("target.val"), "new\r\n");
  // A file left unclosed is not written at all.
  {
    TextFile abandoned("target.val");
    abandoned.WriteLine("half");
  }
  EXPECT_EQ(ReadFile("target.val"), "new\r\n");
  EXPECT_EQ(Names(dir.path()).size(), 2u);
}

// A project saved on a file system that is full, then read-only (a small tmpfs of this test's
// own, in a mount namespace of its own): the older project stays byte for byte.
TEST(FailedWrite, AProjectOnAFullOrReadOnlyFileSystem) {
  if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    GTEST_SKIP() << "no mount namespace of its own here";
  ScopedWorkDir dir;
  std::filesystem::create_directory("fs");
  ASSERT_EQ(::mount("tmpfs", "fs", "tmpfs", 0, "size=64k"), 0);
  std::mt19937_64 random(3);
  WriteWholeFile("fs/coil.kovaro", ProjectText(RandomProject(random)), true);
  const std::string old = ReadFile("fs/coil.kovaro");
  struct statvfs fs {};
  ASSERT_EQ(::statvfs("fs", &fs), 0);
  std::ofstream("fs/filler", std::ios::binary) << std::string(fs.f_bavail * fs.f_frsize - 1024, 'x');
  const auto failure = [&] {
    try {
      WriteWholeFile("fs/coil.kovaro", ProjectText(RandomProject(random)), true);
    } catch (const FileError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(failure(), "Cannot write fs/coil.kovaro: Disk full");
  EXPECT_EQ(ReadFile("fs/coil.kovaro"), old);
  std::filesystem::remove("fs/filler");
  ASSERT_EQ(::mount("tmpfs", "fs", "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
  EXPECT_EQ(failure(), "Cannot write fs/coil.kovaro: File access denied");
  EXPECT_EQ(ReadFile("fs/coil.kovaro"), old);
  EXPECT_EQ(Names("fs"), (std::vector<std::string>{"coil.kovaro"}));
  ::umount("fs");
}
