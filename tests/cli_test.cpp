#include <gtest/gtest.h>
#include <QDir>
#include <array>
#include <charconv>

#include "simulation/oscillator_model.h"
#include "tests/support/reference_model.h"
#include "tests/support/windows_fixture.h"

using namespace wienbridge;
using namespace wienbridge::test;

namespace {

}  // namespace

TEST(CommandLine, ExitsWithZeroOneOrTwoAndSaysWhy)
{
    const QString unwritable = QDir::temp().filePath(QStringLiteral("no-such-folder/plot.png"));
    const struct {
        QStringList arguments;
        int exitCode;
        std::string err;
    } runs[] = {
        {{}, 0, ""},
        {{"--fc", "0"}, 0, ""},  // without a picture the run ends at the peak
        {{"--fc=0", "--png", QDir::temp().filePath("wienbridge-zero.png")},
         1,
         "Operazione a virgola mobile non valida\n"
         "Caselle fc [MHz] e R1/R2: con K = 0 tutti i campioni valgono zero; aumenta fc o R1/R2.\n"},
        {{"--png", unwritable}, 2, "wienbridge-sim: impossibile scrivere " + unwritable.toStdString() + "\n"},
        {{"--bogus"}, 2, "wienbridge-sim: opzione sconosciuta: --bogus\nProva 'wienbridge-sim --help'\n"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.arguments.join(' ').toStdString());
        const Finished finished = commandLine(run.arguments);
        EXPECT_EQ(finished.exitCode, run.exitCode);
        EXPECT_EQ(finished.err, run.err);
    }
    EXPECT_NE(commandLine({"--fc", "0"}).out.find("\nPeak=0\n"), std::string::npos);
    EXPECT_NE(commandLine({"--ratio", "3"}).out.find("\nRegime=crescente\n"), std::string::npos);
    // K = 1 swings no more: no frequency or factor to measure.
    EXPECT_EQ(commandLine({"--ratio", "0.5"}).out.find("Frequency="), std::string::npos);
}

TEST(CommandLine, HelpAndVersionAreWholeTexts)
{
    const std::string help = commandLine({"--help"}).out;
    EXPECT_TRUE(help.starts_with("Uso: wienbridge-sim [--cr USEC]")) << help;
    EXPECT_TRUE(help.ends_with("2 uso errato\no file non scrivibile.\n")) << help;
    EXPECT_EQ(commandLine({"--version"}).out, "wienbridge-sim 1.00\n");
}

// N is read as the box reads it: 100,5 rounds to 100 and 101,5 to 102.
TEST(CommandLine, WritesTheModelsSamplesBitForBit)
{
    const auto shortest = [](double value) {
        std::array<char, 32> text;
        return std::string(text.data(), std::to_chars(text.data(), text.data() + text.size(), value).ptr);
    };
    for (const auto& [text, n] : {std::pair{"100,5", 100}, {"101,5", 102}}) {
        SampleRecorder model;
        simulate({159.15e-6, 3, n, 2}, model);
        std::string expected = "i,vp,vo\n";
        for (std::size_t i = 0; i < model.vo.size(); ++i)
            expected +=
                std::to_string(i + 1) + ',' + shortest(model.vp[i]) + ',' + shortest(model.vo[i]) + '\n';
        EXPECT_EQ(commandLine({"--n", text, "--samples"}).out, expected) << text;
    }
}
