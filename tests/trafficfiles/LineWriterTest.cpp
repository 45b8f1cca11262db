#include "trafficfiles/LineWriter.h"

#include "trafficfiles/TrafficFileFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

// Lowers the largest file this process may write, so that a write stops part-way as it
// would on a full disk; the signal such a write raises is ignored meanwhile.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit lowered = saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

}  // namespace

using LineWriterTest = TrafficFileFixture;

TEST_F(LineWriterTest, AWriteStoppedPartWayLeavesOnlyWholeLines)
{
    const std::string line(77, 'x');
    const std::string fileName = path("out");
    {
        FileSizeLimit limit(100000);
        LineWriter writer;
        ASSERT_TRUE(writer.open(fileName));
        for (int i = 0; i < 3000; ++i)
            writer.writeLine(line);
        EXPECT_FALSE(writer.flush());
        EXPECT_TRUE(writer.failed());
    }
    const auto size = std::filesystem::file_size(fileName);
    EXPECT_GT(size, 0u);
    EXPECT_LE(size, 100000u);
    EXPECT_EQ(size % 78, 0u);
}

TEST_F(LineWriterTest, EverythingReachesTheFileWhenTheWriterCloses)
{
    const std::string fileName = path("out");
    std::string expected;
    {
        LineWriter writer;
        ASSERT_TRUE(writer.open(fileName));
        for (int i = 0; i < 5000; ++i)
        {
            const std::string line = "record " + std::to_string(i);
            writer.writeLine(line);
            expected += line + "\n";
        }
    }
    EXPECT_EQ(readFile(fileName), expected);
}
