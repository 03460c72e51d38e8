#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <fstream>
#include <random>

#include "project/project.h"
#include "project/random_project.h"
#include "shell/format.h"
#include "shell/numeric_text.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

std::string Refusal(const std::string& text, std::vector<std::string>* unknown = nullptr) {
  std::vector<std::string> ignored;
  try {
    ReadProject(text, "coil.kovaro", unknown ? *unknown : ignored);
  } catch (const ProjectError& e) {
    return e.what();
  }
  return "";
}

// A project's text with one line changed.
std::string Edited(const std::string& text, const std::string& from, const std::string& to) {
  std::string edited = text;
  const size_t at = edited.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? edited : edited.replace(at, from.size(), to);
}

}  // namespace

TEST(ProjectFile, EveryInputReadsBackBitForBit) {
  std::mt19937_64 random(2026);
  for (int i = 0; i < 2000; ++i) {
    const Project saved = RandomProject(random);
    std::vector<std::string> unknown;
    const Project opened = ReadProject(ProjectText(saved), "p.kovaro", unknown);
    ASSERT_EQ(opened.size(), saved.size());
    for (const auto& [key, value] : saved) {
      ASSERT_TRUE(opened.at(key) == value) << i << " " << key << " " << ProjectText(saved);
    }
    EXPECT_TRUE(unknown.empty());
  }
}

TEST(ProjectFile, BadFilesAreRefusedNamingTheKeyAndWhy) {
  std::mt19937_64 random(7);
  Project p = RandomProject(random);
  p["main.drive.voltage"] = {180, 0, "180"};
  p["main.run.points"] = {0, 10000, "10000"};
  const std::string good = ProjectText(p);
  EXPECT_EQ(Refusal(good), "");
  const std::string voltage = "\"voltage\": {\n        \"value\": \"180\"\n      }";
  const struct {
    std::string text;
    std::string message;
  } bad[] = {
      {"", "the file is empty"},
      {"Ca 5.07E-9\r\n", "not a JSON text (it breaks off or goes wrong at byte 1)"},
      {good.substr(0, good.size() / 2),
       "not a JSON text (it breaks off or goes wrong at byte " + std::to_string(good.size() / 2 + 1) + ")"},
      {"[1, 2]", "not a Kovaro project: its JSON is a list, not a group"},
      {"[1e99999]", "a number in it is beyond the range of numbers a JSON text may hold"},
      {Edited(good, "kovaro-project", "other-project"),
       "format: not a Kovaro project (\"kovaro-project\" is expected)"},
      {Edited(good, "\"version\": 1", "\"version\": 2"),
       "version: the project is of version 2, newer than this Kovaro reads (version 1)"},
      {Edited(good, "\"version\": 1", "\"version\": \"1\""), "version: a version number from 1 is expected"},
      {Edited(good, voltage, "\"tension\": 180"), "main.drive.voltage: missing"},
      {Edited(good, voltage, "\"voltage\": 180"),
       "main.drive.voltage: a group of \"value\" and \"text\" is expected, not a number"},
      {Edited(good, voltage, "\"voltage\": {\"value\": 180}"),
       "main.drive.voltage.value: a number written as a text is expected, not a number"},
      {Edited(good, voltage, "\"voltage\": {\"value\": \"12a\"}"),
       "main.drive.voltage.value: \"12a\" is not a valid number"},
      {Edited(good, voltage, "\"voltage\": {\"value\": \"1e99999\"}"),
       "main.drive.voltage.value: \"1e99999\" is not a valid number"},
      {Edited(good, voltage, "\"voltage\": {\"value\": \"180\", \"text\": 5}"),
       "main.drive.voltage.text: a text is expected, not a number"},
      {Edited(good, "\"value\": 10000", "\"value\": \"10000\""),
       "main.run.points.value: a whole number from -2147483648 to 2147483647 is expected"},
      {Edited(good, "\"value\": 10000", "\"value\": 3000000000"),
       "main.run.points.value: a whole number from -2147483648 to 2147483647 is expected"},
      {Edited(good, "\"main\": {", "\"main\": 1, \"old\": {"),
       "main: a group of inputs is expected, not a number"},
  };
  for (const auto& [text, message] : bad) EXPECT_EQ(Refusal(text), "Cannot open coil.kovaro: " + message);

  // Choices, check boxes and the design name by their rules.
  Project q = p;
  q["geometry.unit"].integer = 3;
  EXPECT_EQ(Refusal(ProjectText(q)),
            "Cannot open coil.kovaro: geometry.unit: one of the choices 0 to 2 is expected");
  q = p;
  q["design_name"].text = "../../etc/passwd";
  EXPECT_EQ(Refusal(ProjectText(q)).substr(0, 68),
            "Cannot open coil.kovaro: design_name: \"../../etc/passwd\" cannot name");
  EXPECT_EQ(Refusal(Edited(good, "\"remove_load\": ", "\"remove_load\": 1, \"x\": ")),
            "Cannot open coil.kovaro: main.run.remove_load: true or false is expected, not a number");

  // Keys a version 1 project does not know are listed and left out.
  std::vector<std::string> unknown;
  EXPECT_EQ(Refusal(Edited(Edited(good, "\"format\"", "\"comment\": \"mine\", \"format\""), voltage,
                           "\"voltage\": {\"value\": \"180\", \"unit\": \"V\"}, \"colour\": {\"r\": 1}"),
                    &unknown),
            "");
  EXPECT_EQ(unknown, (std::vector<std::string>{"main.drive.voltage.unit", "comment", "main.drive.colour"}));
}

TEST(ProjectFile, FilesTooLargeOrMissing) {
  ScopedWorkDir dir;
  std::vector<std::string> unknown;
  const auto refusal = [&](const std::string& path) {
    try {
      ReadProjectFile(path, unknown);
    } catch (const ProjectError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(refusal(dir.path() / "none.kovaro"), "Cannot open none.kovaro: File not found");
  {
    std::ofstream big("big.kovaro", std::ios::binary);
    big << std::string(50 * 1024 * 1024, ' ');
  }
  EXPECT_EQ(refusal("big.kovaro"),
            "Cannot open big.kovaro: 52428800 bytes, larger than a project can be (at most 10485760)");
  std::ofstream("empty.kovaro");
  EXPECT_EQ(refusal("empty.kovaro"), "Cannot open empty.kovaro: the file is empty");
}

TEST(ProjectFile, PlainDesignNames) {
  EXPECT_TRUE(IsPlainDesignName(""));
  EXPECT_TRUE(IsPlainDesignName("tb373941"));
  EXPECT_TRUE(IsPlainDesignName("tesla-5-3"));
  EXPECT_FALSE(IsPlainDesignName(".hidden"));
  EXPECT_FALSE(IsPlainDesignName("a/b"));
  EXPECT_FALSE(IsPlainDesignName("a b"));
  EXPECT_FALSE(IsPlainDesignName(std::string(101, 'a')));
}
