#include <gtest/gtest.h>
#include <QDir>
#include <charconv>

#include "oscillator_model.h"
#include "support/reference_model.h"
#include "support/windows_fixture.h"

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
        {{"--n"}, 2, "wienbridge-sim: manca il valore di --n\nProva 'wienbridge-sim --help'\n"},
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
    for (const auto& [text, n] : {std::pair{"100,5", 100}, {"101,5", 102}}) {
        SCOPED_TRACE(text);
        SampleRecorder model;
        simulate({159.15e-6, 3, n, 2}, model);
        const std::string csv = commandLine({"--n", text, "--samples"}).out;
        ASSERT_TRUE(csv.starts_with("i,vp,vo\n"));
        std::size_t rows = 0;
        std::size_t at = csv.find('\n') + 1;
        while (at < csv.size()) {
            double i = 0;
            double vp = 0;
            double vo = 0;
            const char* end = csv.data() + csv.size();
            auto read = std::from_chars(csv.data() + at, end, i);
            read = std::from_chars(read.ptr + 1, end, vp);
            read = std::from_chars(read.ptr + 1, end, vo);
            ASSERT_LT(rows, model.vo.size());
            EXPECT_EQ(i, double(rows + 1));
            EXPECT_TRUE(sameBits(vp, model.vp[rows])) << "row " << rows;
            EXPECT_TRUE(sameBits(vo, model.vo[rows])) << "row " << rows;
            at = csv.find('\n', at) + 1;
            ++rows;
        }
        EXPECT_EQ(rows, model.vo.size());
    }
}
