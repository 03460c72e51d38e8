#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cfloat>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
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

// Lists inside lists, as deep as a 10 MB file holds: refused as the text is read, without a
// tree that deep ever built (whose copy once overflowed the stack); up to a depth a project's
// unknown keys may have, the project opens.
TEST(ProjectFile, NestingBeyondAProjectsIsRefusedAtAnyDepth) {
  std::mt19937_64 random(3);
  const std::string good = ProjectText(RandomProject(random));
  const size_t deepest = (static_cast<size_t>(kMostProjectBytes) - good.size() - 8) / 2;
  for (const size_t depth : {1ul, 14ul, 15ul, 16ul, 17ul, 1000ul, 30000ul, 100000ul, deepest}) {
    std::string text = "{\"zz\":" + std::string(depth, '[') + std::string(depth, ']') + "," + good.substr(1);
    ASSERT_LE(text.size(), static_cast<size_t>(kMostProjectBytes));
    std::vector<std::string> unknown;
    const std::string refusal = Refusal(text, &unknown);
    if (depth < 16) {
      EXPECT_EQ(refusal, "") << depth;
      EXPECT_EQ(unknown, std::vector<std::string>{"zz"}) << depth;
    } else {
      EXPECT_EQ(refusal,
                "Cannot open coil.kovaro: groups and lists nested deeper than a project's (at most 16 "
                "levels)")
          << depth;
    }
  }
  // Groups nest the same way.
  std::string groups;
  for (int i = 0; i < 20000; ++i) groups += "{\"g\":";
  EXPECT_EQ(Refusal(groups + "1" + std::string(20000, '}')),
            "Cannot open coil.kovaro: groups and lists nested deeper than a project's (at most 16 levels)");
}

// A field's typed text is its value as leaving the field makes it: a text that reads as
// another value is refused naming the key; a set value's own text needs no reading back.
// A text quoted in a refusal shows its control characters.
TEST(ProjectFile, ATextMustReadAsItsValue) {
  std::mt19937_64 random(11);
  Project p = RandomProject(random);
  p["main.drive.voltage"] = {180, 0, "garbage"};
  EXPECT_EQ(
      Refusal(Edited(ProjectText(p), "\"value\": \"180\"", "\"value\": \"180\", \"text\": \"garbage\"")),
      "Cannot open coil.kovaro: main.drive.voltage.text: \"garbage\" does not read as the value 180");
  p["main.drive.voltage"] = {180, 0, "180"};
  p["main.run.points"] = {0, 10000, "10000"};
  EXPECT_EQ(Refusal(Edited(ProjectText(p), "\"value\": 10000", "\"value\": 10000, \"text\": \"-5\"")),
            "Cannot open coil.kovaro: main.run.points.text: \"-5\" does not read as the value 10000");
  EXPECT_EQ(Refusal(Edited(ProjectText(p), "\"value\": 10000", "\"value\": 10000, \"text\": \"$2710\"")), "");
  p["main.stop.multiply"] = {-0.0L, 0, "0"};  // a field set to -0 shows "0"
  p["main.stop.delay"] = {1e-6L, 0, " +1e-6"};
  p["main.stop.cycles"] = {0.1L, 0, "0.1 pending"};  // typed, not yet left: the value is saved
  const Project opened = [&] {
    std::vector<std::string> unknown;
    return ReadProject(ProjectText(p), "coil.kovaro", unknown);
  }();
  EXPECT_TRUE(opened.at("main.stop.multiply") == p["main.stop.multiply"]);
  EXPECT_TRUE(opened.at("main.stop.delay") == p["main.stop.delay"]);
  EXPECT_EQ(opened.at("main.stop.cycles").text, "0.1");

  p["design_name"].text = std::string("tb\0x", 4);
  EXPECT_EQ(Refusal(ProjectText(p)).substr(0, 48), "Cannot open coil.kovaro: design_name: \"tb\\x00x\" ");
}

// What the reader would refuse is never written: every saved text opens.
TEST(ProjectFile, ATextItsReaderRefusesIsNotSaved) {
  std::mt19937_64 random(5);
  Project p = RandomProject(random);
  EXPECT_EQ(SavedProjectText(p, "coil.kovaro"), ProjectText(p));
  p["geometry.secondary.diameter"] = {std::numeric_limits<Real>::infinity(), 0, "+Inf"};
  try {
    SavedProjectText(p, "coil.kovaro");
    ADD_FAILURE();
  } catch (const ProjectError& e) {
    EXPECT_STREQ(
        e.what(),
        "Cannot write coil.kovaro: geometry.secondary.diameter.value: \"inf\" is not a valid number");
  }
}

// The elements a circuit runs with, against the element window's fields not applied.
TEST(ProjectFile, ElementsNotAppliedAreNamed) {
  std::mt19937_64 random(5);
  Project p = RandomProject(random);
  for (const char* e : {"Ca", "La", "Lb", "Cb", "kab", "RLa", "RLb", "Rin", "Rb"})
    p[std::string("element_window.") + e] = {p[std::string("elements.") + e].real, 0, "x"};
  p["simulate_enabled"].integer = 1;
  EXPECT_EQ(ElementsNotApplied(p), "");
  p["elements.kab"].real = 2;
  p["element_window.kab"] = {0.117L, 0, "0.117"};
  p["elements.Rb"].real = 5e5L;
  p["element_window.Rb"] = {573000, 0, "573000"};
  EXPECT_EQ(ElementsNotApplied(p), "kab 0.117 (circuit 2), Rb 573000 (circuit 500000)");
  p["simulate_enabled"].integer = 0;  // no circuit yet: nothing runs with them
  EXPECT_EQ(ElementsNotApplied(p), "");
}

namespace {

std::string FileRefusal(const std::string& path) {
  std::vector<std::string> unknown;
  try {
    ReadProjectFile(path, unknown);
  } catch (const ProjectError& e) {
    return e.what();
  }
  return "";
}

}  // namespace

// Only a regular file is read, and at once: a pipe (which would block for good), a folder, a
// socket, a device, a link to any of them are refused; a file of the system's that says it
// is empty is read to its end.
TEST(ProjectFile, WhatIsNotARegularFileIsRefusedAtOnce) {
  ScopedWorkDir dir;
  ASSERT_EQ(::mkfifo("pipe.kovaro", 0600), 0);
  std::filesystem::create_directory("folder.kovaro");
  std::filesystem::create_symlink("pipe.kovaro", "link.kovaro");
  std::filesystem::create_symlink("/dev/zero", "zero.kovaro");
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, "socket.kovaro");
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  for (const char* name : {"pipe.kovaro", "folder.kovaro", "link.kovaro", "zero.kovaro", "socket.kovaro"})
    EXPECT_EQ(FileRefusal(name), std::string("Cannot open ") + name + ": not a regular file");
  EXPECT_EQ(FileRefusal("/dev/null"), "Cannot open null: not a regular file");
  EXPECT_EQ(FileRefusal("/proc/self/status").substr(0, 33), "Cannot open status: not a JSON te");
  EXPECT_EQ(FileRefusal(""), "Cannot open a project: the file name is empty");
  EXPECT_EQ(FileRefusal(std::string(300, 'n')),
            "Cannot open " + std::string(100, 'n') + "...: File name too long");
}
