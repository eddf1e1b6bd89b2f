#include <gtest/gtest.h>

#include "base/log.h"
#include "base/log_native.h"
#include "common/test_support.h"
#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(PopulationLog, EachPopulationWritesOneLine) {
  const std::string path = TempFilePath("population.log");
  RemoveFile(path);
  SetNativeLogPath(path);
  debugLogging = true;

  SeedRandom(1);
  Aquarium a;
  PopulateAquarium(a, Settings(), 800, 600);
  Settings allOff;
  for (int& n : allOff.speciesCounts) n = 0;
  PopulateAquarium(a, allOff, 800, 600);
  // Steps add nothing to the log once populated.
  a.populated = true;
  StepAquarium(a, allOff, 0.1f, 800, 600);
  StepAquarium(a, allOff, 0.1f, 800, 600);

  debugLogging = false;
  SetNativeLogPath("Tidemere.log");
  const std::string text = ReadTextFile(path);
  RemoveFile(path);

  EXPECT_EQ(Occurrences(text, "\r\n"), 2u) << text;
  EXPECT_EQ(Occurrences(text, "] 鱼缸初始化：28 条鱼(20种), 9 丛水草, 7 个珊瑚, 4 个海星, 8 条光线\r\n"), 1u)
      << text;
  EXPECT_EQ(Occurrences(text, "] 鱼缸初始化：1 条鱼(20种), 9 丛水草, 7 个珊瑚, 4 个海星, 8 条光线\r\n"), 1u)
      << text;
}
