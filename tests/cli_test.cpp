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
    const std::string cannot = "wienbridge-sim: impossibile scrivere ";
    const auto usage = [](const std::string& problem) {
        return "wienbridge-sim: " + problem + "\nProva 'wienbridge-sim --help'\n";
    };
    const std::string form = "--sweep vuole NOME:DA:A:PUNTI[:lin|:log], NOME tra cr, n, fc e ratio: ";
    const struct {
        QStringList arguments;
        QString output;  // where standard output goes, if not to the test
        int exitCode;
        std::string err;
    } runs[] = {
        {{}, {}, 0, ""},
        {{"--fc", "0"}, {}, 0, ""},  // without a picture the run ends at the peak
        {{"--fc=0", "--png", QDir::temp().filePath("wienbridge-zero.png")},
         {},
         1,
         "Operazione a virgola mobile non valida\n"
         "Caselle fc [MHz] e R1/R2: con K = 0 tutti i campioni valgono zero; aumenta fc o R1/R2.\n"},
        {{"--png", unwritable}, {}, 2, cannot + unwritable.toStdString() + "\n"},
        {{"--bogus"}, {}, 2, usage("opzione sconosciuta: --bogus")},
        // Writes that fail are never a success.
        {{}, "/dev/full", 2, cannot + "i risultati sull'uscita standard\n"},
        {{"--samples"}, "/dev/full", 2, cannot + "i campioni sull'uscita standard\n"},
        {{"--n", "1000000", "--samples"}, "/dev/full", 2, cannot + "i campioni sull'uscita standard\n"},
        {{"--png", "/dev/full"}, {}, 2, cannot + "/dev/full\n"},
        {{"--sweep", "fc:1:2:3"}, "/dev/full", 2, cannot + "l'andamento sull'uscita standard\n"},
        // A sweep with failing points ran; one whose every point failed did not.
        {{"--sweep", "ratio:-1:1:3"}, {}, 0, ""},
        {{"--n", "0", "--sweep", "fc:1:2:3"},
         {},
         1,
         "wienbridge-sim: nessun punto dell'andamento è riuscito\n"},
        {{"--sweep", "fc:1:2:1"}, {}, 2, usage("--sweep fc:1:2:1: il numero di punti va da 2 a 1000")},
        {{"--sweep", "n:1:2:1001"}, {}, 2, usage("--sweep n:1:2:1001: il numero di punti va da 2 a 1000")},
        {{"--sweep", "ratio:0:1:3:log"},
         {},
         2,
         usage("--sweep ratio:0:1:3:log: con la spaziatura geometrica gli estremi devono essere maggiori di "
               "zero")},
        {{"--sweep", "fc:1:2:3:cubic"}, {}, 2, usage(form + "fc:1:2:3:cubic")},
        {{"--sweep", "fc:1:x:3"}, {}, 2, usage(form + "fc:1:x:3")},
        {{"--sweep", "fc:1:2"}, {}, 2, usage(form + "fc:1:2")},
        {{"--sweep", "r:1:2:3"}, {}, 2, usage("grandezza sconosciuta in --sweep: r (cr, n, fc o ratio)")},
        {{"--sweep", "fc:1:2:3", "--threads", "0"},
         {},
         2,
         usage("--threads vuole un numero intero maggiore di zero: 0")},
        {{"--threads", "2"}, {}, 2, usage("--threads vale solo con --sweep")},
        {{"--sweep", "fc:1:2:3", "--samples"}, {}, 2, usage("--sweep non si usa con --samples né con --png")},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.arguments.join(' ').toStdString());
        const Finished finished = commandLine(run.arguments, run.output);
        EXPECT_EQ(finished.exitCode, run.exitCode);
        EXPECT_EQ(finished.err, run.err);
    }
    EXPECT_NE(commandLine({"--fc", "0"}).out.find("\nPeak=0\n"), std::string::npos);
    EXPECT_NE(commandLine({"--ratio", "3"}).out.find("\nRegime=crescente\n"), std::string::npos);
    // K = 1 swings no more: no frequency or factor to measure.
    EXPECT_EQ(commandLine({"--ratio", "0.5"}).out.find("\nFrequency="), std::string::npos);
}

// A picture cut short by a file-size limit leaves the earlier file as it was.
TEST(CommandLine, APictureCutShortLeavesTheEarlierFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "a file-size limit is set by a Unix shell";
#endif
    const QString png = QDir::temp().filePath(QStringLiteral("wienbridge-earlier.png"));
    QFile earlier(png);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
    earlier.write("earlier");
    earlier.close();
    QProcess process;
    process.start(QStringLiteral("bash"),
                  {"-c", "ulimit -f 0; exec \"$0\" --png \"$1\"", WIENBRIDGE_SIM, png});
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardError().toStdString(),
              "wienbridge-sim: impossibile scrivere " + png.toStdString() + "\n");
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
    EXPECT_EQ(QDir::temp().entryList({"wienbridge-earlier.png.*"}),
              QStringList());  // nothing half-written left
}

// The warnings Risultati shows, one line each, with "." as the decimal point.
TEST(CommandLine, PrintsEveryWarningAfterTheAnalysis)
{
    const std::string unstable =
        "Passo troppo grande: con N ≤ 5 la ricorrenza è instabile e il regime indicato da K non descrive i "
        "campioni.";
    const std::string noCircuit =
        "Aol non è positivo e finito (fc nullo, CR o fc negativi): il circuito con A.O. reale non si può "
        "descrivere.";
    const auto negative = [](const char* box) {
        return std::string("Casella ") + box
               + ": un valore negativo non ha significato fisico per il circuito; il calcolo procede comunque.";
    };
    const std::string realDamped =
        "Regime diverso: secondo il modello (K = 3) l'oscillazione è sostenuta, nel circuito con A.O. reale "
        "è "
        "smorzata; per oscillare gli serve R1/R2 ≥ ";
    const struct {
        QStringList arguments;
        std::vector<std::string> warnings;
        bool circuitLines = true;  // CircuitRegime= and the rest, before the warnings
    } runs[] = {
        {{"--ratio", "3"}, {}},            // both grow
        {{}, {realDamped + "2.000003."}},  // the op-amp's lag costs a little gain
        {{"--fc", "0.016"}, {realDamped + "2.07011."}},
        {{"--fc", "0.005", "--ratio", "2.5"},
         {"Regime diverso: secondo il modello (K = 2) l'oscillazione è smorzata, nel circuito con A.O. reale "
          "è "
          "crescente."}},
        {{"--fc", "0"},
         {"Aol non è positivo e finito (fc nullo, CR o fc negativi): il circuito con A.O. reale non si può "
          "descrivere."},
         false},
        {{"--cr", "0.500", "--ratio", "1"}, {}},  // no thousands in a number that starts with 0
        {{"--ratio", " "}, {"Casella R1/R2: vuota, letta come 0."}},
        {{"--ratio", "abc"}, {"Casella R1/R2: «abc» non contiene un numero ed è stata letta come 0."}},
        {{"--ratio", "3x"}, {"Casella R1/R2: «3x» è stato letto come 3; il resto è ignorato."}},
        {{"--cr", "-159.15"}, {noCircuit, negative("CR [usec]")}, false},
        {{"--fc", "-3"}, {noCircuit, negative("fc [MHz]")}, false},
        {{"--n", "1", "--ratio", "3"}, {unstable}},
        {{"--n", "1.000", "--ratio", "12,500"},
         {unstable,
          "Casella N (Numero campioni): «1.000» è stato letto come 1; «.» e «,» separano i decimali, non le "
          "migliaia.",
          "Casella R1/R2: «12,500» è stato letto come 12.5; «.» e «,» separano i decimali, non le "
          "migliaia."}},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.arguments.join(' ').toStdString());
        const std::string out = commandLine(run.arguments).out;
        const std::size_t first = out.find("Warning=");
        const std::size_t circuit = out.find("\nCircuitRegime=");
        EXPECT_EQ(circuit != std::string::npos, run.circuitLines);
        EXPECT_LT(out.find("\nRegime="), std::min(circuit, first));
        EXPECT_TRUE(circuit == std::string::npos || circuit < first);
        std::vector<std::string> warnings;
        for (std::size_t at = first; at != std::string::npos; at = out.find("Warning=", at + 1))
            warnings.push_back(out.substr(at + 8, out.find('\n', at) - at - 8));
        EXPECT_EQ(warnings, run.warnings);
    }
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

// Each row of a sweep holds what the single run at its value prints, at any
// number of threads: the run is the command line's own, fed the value as written.
TEST(CommandLine, EachSweepRowIsTheSingleRunAtItsValue)
{
    const struct {
        QString range, threads;
        QStringList others;
        QString first, last;
    } sweeps[] = {
        {"fc:3:0.0005:6", "1", {}, "3", "5e-04"},
        {"fc:3:0,0005:6", "4", {}, "3", "5e-04"},
        {"n:10:11:3", "", {"--ratio", "3"}, "10", "11"},  // 10.5 runs as N = 10
        {"ratio:-1:1:3", "", {"--n", "50"}, "-1", "1"},   // -1 fails, the sweep goes on
        {"cr:100:200:3:lin", "2", {"--fc", "0.02"}, "100", "200"},
    };
    const QStringList columns = {"K",
                                 "Regime",
                                 "Frequency",
                                 "GrowthPerPeriod",
                                 "CircuitRegime",
                                 "CircuitFrequency",
                                 "CircuitGrowthPerPeriod",
                                 "Peak"};
    for (const auto& sweep : sweeps) {
        SCOPED_TRACE(sweep.range.toStdString() + " --threads " + sweep.threads.toStdString());
        const QString name = sweep.range.section(':', 0, 0);
        QStringList arguments = QStringList{"--sweep", sweep.range} + sweep.others;
        if (!sweep.threads.isEmpty())
            arguments << "--threads" << sweep.threads;
        const Finished finished = commandLine(arguments);
        EXPECT_EQ(finished.exitCode, 0);
        QStringList rows = QString::fromStdString(finished.out).split('\n');
        ASSERT_EQ(rows.takeLast(), "");
        EXPECT_EQ(rows.takeFirst(), name + ",K,Regime,Frequency,GrowthPerPeriod,CircuitRegime,CircuitFrequency,"
                                           "CircuitGrowthPerPeriod,Peak,Error");
        ASSERT_FALSE(rows.isEmpty());
        EXPECT_EQ(rows.first().section(',', 0, 0), sweep.first);
        EXPECT_EQ(rows.last().section(',', 0, 0), sweep.last);
        for (const QString& row : rows) {
            const QString value = row.section(',', 0, 0);
            const Finished single = commandLine(sweep.others + QStringList{"--" + name, value});
            const QString out = '\n' + QString::fromStdString(single.out);
            QString expected = value;
            for (const QString& column : columns) {
                const qsizetype at = out.indexOf('\n' + column + '=');
                expected += ',' + (at < 0 ? QString() : out.mid(at + column.size() + 2).section('\n', 0, 0));
            }
            EXPECT_EQ(row, expected + ',' + QString::fromStdString(single.err).section('\n', 0, 0));
        }
    }
}
