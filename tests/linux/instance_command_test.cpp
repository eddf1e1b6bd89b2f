// The command line of `tidemere` and the requests to a running instance.
#include "common/instance_command.h"

#include <gtest/gtest.h>

namespace {

LaunchOptions Parse(std::vector<std::string> args) {
  LaunchOptions options;
  std::string error;
  EXPECT_TRUE(ParseLaunchOptions(args, options, error)) << error;
  return options;
}

TEST(InstanceCommand, LaunchesAndTheirRequests) {
  struct Case {
    std::vector<std::string> args;
    const char* line;  // what goes to a running instance ("" for a plain start)
  } cases[] = {
      {{}, ""},
      {{"--debug"}, ""},
      {{"exit"}, "exit\n"},
      {{"/debug", "exit"}, "exit\n"},
      {{"status"}, "status\n"},
      {{"--theme", "4"}, "theme 4\n"},
      {{"--theme=6", "--debug"}, "theme 6\n"},
      {{"--seed", "7", "--steps", "120"}, ""},
  };
  for (const Case& c : cases) {
    const InstanceRequest request = RequestFor(Parse(c.args));
    EXPECT_EQ(RequestLine(request), c.line);
    // The instance reads back what was sent.
    const InstanceRequest heard = ParseRequestLine(RequestLine(request));
    EXPECT_EQ(int(heard.kind), int(request.kind));
    EXPECT_EQ(heard.theme, request.theme);
  }
  const LaunchOptions test = Parse({"--seed", "4294967295", "--steps", "120", "--debug"});
  EXPECT_EQ(*test.seed, 4294967295u);
  EXPECT_EQ(test.steps, 120);
  EXPECT_TRUE(test.debug);
}

TEST(InstanceCommand, RefusesMalformedLines) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--theme"},
                                                                                    {"--theme", "0"},
                                                                                    {"--theme", "7"},
                                                                                    {"--theme", "+2"},
                                                                                    {"--theme", "2x"},
                                                                                    {"exit", "status"},
                                                                                    {"exit", "--theme", "2"},
                                                                                    {"--steps", "10"},
                                                                                    {"--seed", "-1"},
                                                                                    {"--seed", "4294967296"},
                                                                                    {"--frobnicate"},
                                                                                    {"3"}}) {
    LaunchOptions options;
    std::string error;
    EXPECT_FALSE(ParseLaunchOptions(args, options, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
  // A stray client's line changes nothing.
  for (const char* line :
       {"", "hello\n", "theme\n", "theme 0\n", "theme 7\n", "theme 3 4\n", "EXIT\n", "exit now\n"}) {
    EXPECT_EQ(int(ParseRequestLine(line).kind), int(RequestKind::kNone)) << line;
  }
}

}  // namespace
