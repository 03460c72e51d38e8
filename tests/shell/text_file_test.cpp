#include "shell/text_file.h"

#include <gtest/gtest.h>

#include <cerrno>
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
