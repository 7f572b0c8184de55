#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "core/example_settings.h"
#include "support/temp_files.h"

namespace {

struct ToolRun {
    int status = -1;
    std::string err;
};

ToolRun runTool(const std::string& args) {
    TempDir logs;
    const std::string cmd =
        std::string("'") + TULVANE_EXAMPLES_TOOL + "' " + args + " 2>'" + logs.file("err") + "'";
    const int raw = std::system(cmd.c_str());
    const Bytes err = readBytes(logs.file("err"));
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::string(err.begin(), err.end())};
}

Bytes exampleBytes() {
    Bytes out;
    for (const TState& s : exampleSettings()) out.insert(out.end(), s.bytes.begin(), s.bytes.end());
    return out;
}

TEST(ExamplesTool, WritesTheExampleRecordsWithTheSameBytesOnEveryRun) {
    TempDir dir;
    ASSERT_EQ(runTool("'" + dir.file("first.tv0") + "'").status, 0);
    ASSERT_EQ(runTool("'" + dir.file("second.tv0") + "'").status, 0);
    const Bytes first = readBytes(dir.file("first.tv0"));
    EXPECT_EQ(first.size(), static_cast<std::size_t>(ExampleCount) * TStateLayout::Size);
    EXPECT_EQ(first, exampleBytes());
    EXPECT_EQ(readBytes(dir.file("second.tv0")), first);
}

TEST(ExamplesTool, TheBuiltFileHoldsTheExamplesOfThisBuild) {
    EXPECT_EQ(readBytes(TULVANE_EXAMPLES_FILE), exampleBytes());
}

TEST(ExamplesTool, ReplacesAnOlderFileWhole) {
    TempDir dir;
    writeBytes(dir.file("old.tv0"), Bytes(10 * TStateLayout::Size, 0xAB));
    ASSERT_EQ(runTool("'" + dir.file("old.tv0") + "'").status, 0);
    EXPECT_EQ(readBytes(dir.file("old.tv0")), exampleBytes());
}

TEST(ExamplesTool, FailsWithTheSystemsReasonAndWritesNothing) {
    TempDir dir;
    const ToolRun r = runTool("'" + dir.file("missing/examples.tv0") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
    EXPECT_EQ(runTool("").status, 2);
}

}  // namespace
