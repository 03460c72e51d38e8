#include "shell/text_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "shell/file_error.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

TEST(TextFile, CrlfLinesReplaceTheOldContent) {
  ScopedWorkDir dir;
  {
    TextFile f("a.val");
    f.WriteLine("first line that is long");
    f.Close();
  }
  TextFile f("a.val");
  f.WriteLine("Ca 1");
  f.WriteLine("");
  f.Close();
  std::ifstream in(dir.path() / "a.val", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Ca 1\r\n\r\n");
}

TEST(TextFile, PlatformTextsOfFailures) {
  EXPECT_EQ(FileErrorText(EACCES), "File access denied");
  EXPECT_EQ(FileErrorText(EPERM), "File access denied");
  EXPECT_EQ(FileErrorText(EROFS), "File access denied");
  EXPECT_EQ(FileErrorText(ENOSPC), "Disk full");
  EXPECT_EQ(FileErrorText(ENOENT), "File not found");
  EXPECT_EQ(FileErrorText(EIO), "I/O error 5");
  try {
    TextFile f("/nonexistent-dir/x.tab");
    ADD_FAILURE();
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
}

namespace {

std::string WriteRefusal(const std::string& name) {
  try {
    WriteWholeFile(name, "bytes\r\n", true);
  } catch (const FileError& e) {
    return e.what();
  }
  return "";
}

// A unix socket bound at `name`, as a program might leave one.
void BindSocket(const std::string& name) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, name.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

}  // namespace

// What is not a file is refused at once, never waited on (a pipe without a reader would block
// for good); a character device is still written, a link followed to its file, even to one
// not there yet, so that the link stays a link.
TEST(TextFile, WhatIsNotAFileIsRefusedAndLinksAreFollowed) {
  ScopedWorkDir dir;
  ASSERT_EQ(::mkfifo("pipe.kovaro", 0600), 0);
  std::filesystem::create_directory("folder.kovaro");
  BindSocket("socket.kovaro");
  std::filesystem::create_symlink("pipe.kovaro", "to-pipe.kovaro");
  for (const char* name : {"pipe.kovaro", "folder.kovaro", "socket.kovaro", "to-pipe.kovaro"})
    EXPECT_EQ(WriteRefusal(name), std::string("Cannot write ") + name + ": not a regular file");
  EXPECT_EQ(WriteRefusal("/dev/null"), "");
  EXPECT_EQ(WriteRefusal("/dev/full"), "Cannot write /dev/full: Disk full");

  std::filesystem::create_directory("sub");
  std::filesystem::create_symlink("sub/target.txt", "dangling.txt");
  std::filesystem::create_symlink("dangling.txt", "chain.txt");
  EXPECT_EQ(WriteRefusal("chain.txt"), "");
  EXPECT_TRUE(std::filesystem::is_symlink("dangling.txt"));
  EXPECT_TRUE(std::filesystem::is_symlink("chain.txt"));
  EXPECT_EQ(ReadFile("sub/target.txt"), "bytes\r\n");
  std::filesystem::create_symlink("loop-b.txt", "loop-a.txt");
  std::filesystem::create_symlink("loop-a.txt", "loop-b.txt");
  std::string loop = "Cannot write loop-a.txt: I/O error ";
  loop += std::to_string(ELOOP);
  EXPECT_EQ(WriteRefusal("loop-a.txt"), loop);
  const std::string long_name(300, 'n');
  std::string too_long = "Cannot write ";
  too_long += long_name;
  too_long += ": File name too long";
  EXPECT_EQ(WriteRefusal(long_name), too_long);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 9);  // no temporary file left
}
