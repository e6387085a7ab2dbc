#include "processor/XmlTextGuard.h"

#include <gtest/gtest.h>

using mv::pluginCore::XmlTextGuard;

namespace
{
struct GuardCase
{
    const char* text;
    bool safe;
};

class XmlTextGuardCases : public ::testing::TestWithParam<GuardCase>
{
};

TEST_P (XmlTextGuardCases, RefusesWhatTheParserMishandles)
{
    EXPECT_EQ (XmlTextGuard::isSafeToParse (GetParam().text), GetParam().safe) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          XmlTextGuardCases,
                          ::testing::Values (
                              // What presets and states hold.
                              GuardCase{ "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Oryn version=\"1.0.6\"/>", true },
                              GuardCase{ "\r\n  <?xml version=\"1.0\"?><Oryn/>", true },
                              GuardCase{ "<Oryn/>", true },
                              GuardCase{ "<D a=\"&amp;&lt;&gt;&quot;&apos;\"/>", true },
                              GuardCase{ "<D a=\"&#65;&#x42;&#X10FFFF;&#1114111;\"/>", true },
                              GuardCase{ "<D><!-- a comment --></D>", true },
                              // Processing instructions beyond the declaration: the parser can loop forever.
                              GuardCase{ "<r><?"
                                         "?>P",
                                         false },
                              GuardCase{ "<?xml version=\"1.0\"?><Oryn><?pi?>x</Oryn>", false },
                              GuardCase{ "<?xml version=\"1.0\"", false },
                              GuardCase{ "<Oryn/><?late?>", false },
                              // References the parser reads past the end on, or expands itself.
                              GuardCase{ "<D a=\"&#x", false },
                              GuardCase{ "<D>&#", false },
                              GuardCase{ "<D>&#;</D>", false },
                              GuardCase{ "<D>&#x;</D>", false },
                              GuardCase{ "<D>&#0;</D>", false },
                              GuardCase{ "<D>&#x0;</D>", false },
                              GuardCase{ "<D>&#xD800;</D>", false },
                              GuardCase{ "<D>&#x110000;</D>", false },
                              GuardCase{ "<D>&#12345678;</D>", false },
                              GuardCase{ "<D>&#1a;</D>", false },
                              GuardCase{ "<D>&AMP;</D>", false },
                              GuardCase{ "<D>&amp</D>", false },
                              GuardCase{ "<D>&custom;</D>", false },
                              GuardCase{ "<D>a & b</D>", false },
                              GuardCase{ "<D>&", false },
                              // Exponents the number reader overflows on.
                              GuardCase{ "<P value=\"1e999\"/>", true },
                              GuardCase{ "<P value=\"-7.6e-6\" id=\"freqShiftFreq\"/>", true },
                              GuardCase{ "<P value=\"1e000000000000999\"/>", true },
                              GuardCase{ "<P value=\"1e1234567\"/>", false },
                              GuardCase{ "<P value=\"-7.6e-3591239453125\"/>", false },
                              GuardCase{ "<P value=\"5.E+99999999999\"/>", false },
                              GuardCase{ "<P id=\"e12345678\"/>", true }));
} // namespace
