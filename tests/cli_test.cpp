#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

struct Result {
    int status;
    std::string out;
};

// Runs the command-line twin with the given arguments, capturing stdout (and
// stderr when asked).
Result runTwin(const std::string& args, bool withStderr = false)
{
    const std::string command =
        std::string(WIENBRIDGE_SIM) + " " + args + (withStderr ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

}  // namespace

TEST(CommandLineTwin, SummaryOfTheDefaultRun)
{
    const Result r = runTwin("");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "CR=0.00015914999999999999\n"
              "Fc=3\n"
              "N=100\n"
              "Ratio=2\n"
              "Dt=1.5914999999999999e-05\n"
              "Aol=2999.90682491289\n"
              "K=3\n"
              "Peak=3.0037547517414542\n");
}

TEST(CommandLineTwin, SamplesAsCsv)
{
    const Result r = runTwin("--n 10 --samples");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("i,vp,vo\n1,1,3\n2,", 0), 0u) << r.out.substr(0, 60);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 101);
    EXPECT_NE(r.out.find("\n100,"), std::string::npos);
}

TEST(CommandLineTwin, OptionsAreReadLikeTheBoxes)
{
    const Result r = runTwin("--cr ' 159.15us' --n 100.5 --fc 3,5 --ratio 2");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("N=100\n"), std::string::npos);
    EXPECT_NE(r.out.find("Fc=3\n"), std::string::npos);
}

TEST(CommandLineTwin, RunTimeErrorsAndUsageErrors)
{
    const Result noSamples = runTwin("--n 0", true);
    EXPECT_EQ(noSamples.status, 1);
    EXPECT_EQ(noSamples.out, "Divisione per zero\n");

    const Result unknown = runTwin("--bogus", true);
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.out.find("--ratio"), std::string::npos);

    EXPECT_EQ(runTwin("--n").status, 2);
    const Result help = runTwin("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--samples"), std::string::npos);
}
