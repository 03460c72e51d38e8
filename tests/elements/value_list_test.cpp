#include "elements/value_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "shell/file_error.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

TEST(ValueList, LinesSignsAndConfirmation) {
  ScopedWorkDir dir;
  RecordingHost log;
  WriteValueList("x.val", {{"Ca", 5.07E-9L}, {"kab", -0.5L}, {"Rb", 0}}, log);
  std::ifstream in(dir.path() / "x.val", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "Ca  5.070000E-0009\r\nkab -5.000000E-0001\r\nRb  0.000000E+0000\r\n");
  EXPECT_EQ(log.lines, std::vector<std::string>{"Value list saved as x.val"});

  // Written again: the file is replaced, not extended.
  WriteValueList("x.val", {{"Freq", 300000}}, log);
  std::ifstream again(dir.path() / "x.val", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), "Freq  3.000000E+0005\r\n");

  // A full disk: no confirmation line.
  std::filesystem::create_symlink("/dev/full", dir.path() / "full.val");
  RecordingHost refused;
  try {
    WriteValueList("full.val", {{"Ca", 1}}, refused);
    ADD_FAILURE();
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "Disk full");
  }
  EXPECT_TRUE(refused.lines.empty());
}
