#include "readout.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace wienbridge {
namespace {

class Readout : public ::testing::Test {
protected:
    Readout()
    {
        state.CR = 159.15e-6;
        state.Peak = 3;
        state.lastRunCompleted = true;
    }
    ~Readout() override { QLocale::setDefault(QLocale::c()); }

    static void useLocale(const QLocale& locale) { QLocale::setDefault(locale); }

    ModuleState state;
};

TEST_F(Readout, ShowsTimeAndVoltageWithTheUserLocalesDecimalSeparator)
{
    useLocale(QLocale(QLocale::Italian, QLocale::Italy));
    EXPECT_EQ(readoutText(state, 2, 62), QStringLiteral("t = 318,300 usec\" ; vo(t) = 0,75V"));
    EXPECT_EQ(readoutText(state, 2, 50), QStringLiteral("t = 318,300 usec\" ; vo(t) = 0,00V"));
    EXPECT_EQ(readoutText(state, 0, 38), QStringLiteral("t = 0,000 usec\" ; vo(t) = -0,75V"));

    useLocale(QLocale::c());
    EXPECT_EQ(readoutText(state, 2, 62), QStringLiteral("t = 318.300 usec\" ; vo(t) = 0.75V"));
    EXPECT_EQ(readoutText(state, 100, 2), QStringLiteral("t = 15915.000 usec\" ; vo(t) = -3.00V"));
    // A value that rounds to zero shows no sign.
    EXPECT_EQ(readoutText(state, 2, 49.999F), QStringLiteral("t = 318.300 usec\" ; vo(t) = 0.00V"));
}

TEST_F(Readout, ShowsNothingAfterARunThatDidNotComplete)
{
    state.lastRunCompleted = false;
    EXPECT_EQ(readoutText(state, 2, 62), std::nullopt);
}

}  // namespace
}  // namespace wienbridge
