#include "services/UpdateReply.h"

#include <gtest/gtest.h>

namespace
{
using mv::pluginCore::UpdateReply;
using mv::pluginCore::UpdateVersion;

constexpr juce::int64 intMax = std::numeric_limits<int>::max();

struct ScoreCase
{
    const char* text;
    juce::int64 score;
};

TEST (UpdateVersion, ScoresFollowTheVersionNumbers)
{
    const ScoreCase cases[] = {
        { "1.0.6", 10699 },
        { "1.0.7", 10799 },
        { "1.0.7 beta 3", 10703 },
        { "1.0.6beta5", 10605 },
        { "1.0.6 beta", 10600 },
        { "1.0.10", 11099 }, // patch numbers spill into the minor: equal to 1.1.0
        { "1.1.0", 11099 },
        { "2", 20099 },
        { "0.0.0", 99 },
        { "", 99 },
        { "  1 . 2 . 3  ", 12399 },
        { "1.0.6 beta 99", 10698 }, // a beta never reaches its release
        { "1.0.6 beta 99999999999", 10698 },
        { "-1.-2.-3", 99 }, // negative parts count as 0
        { "99999999999999999999.0.0", intMax * 10000 + 99 },
        { "1.0.7beta3beta9", 10703 }, // the part after the first "beta"
        { "\"1.0\".7", 7099 }, // quotes group: "1.0" is one piece, which reads as 0
        { "x.y.z", 99 },
        { "1.0.7 BETA 3", 10799 }, // only the lower-case marker makes a beta
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        EXPECT_EQ (UpdateVersion::fromText (c.text).getScore(), c.score);
    }
}

TEST (UpdateVersion, BetaFlagAndNumber)
{
    const auto beta = UpdateVersion::fromText ("1.1.0 beta 2");
    EXPECT_TRUE (beta.isBeta);
    EXPECT_EQ (beta.beta, 2);
    EXPECT_EQ (beta.major, 1);
    EXPECT_EQ (beta.minor, 1);
    EXPECT_EQ (beta.patch, 0);

    const auto release = UpdateVersion::fromText ("1.1.0");
    EXPECT_FALSE (release.isBeta);
    EXPECT_EQ (release.beta, UpdateVersion::releaseBetaNumber);
}

TEST (UpdateVersion, LenientNumbersSaturate)
{
    constexpr auto big = std::numeric_limits<juce::int64>::max();
    const struct
    {
        const char* text;
        juce::int64 minimum, maximum, expected;
    } cases[] = {
        { "123abc", 0, 1000, 123 },
        { "  42", 0, 1000, 42 },
        { "+7", 0, 1000, 7 },
        { "abc", 0, 1000, 0 },
        { "", 5, 1000, 5 },
        { "-9", 0, 1000, 0 },
        { "-9", -100, 1000, -9 },
        { "5000", 0, 1000, 1000 },
        { "99999999999999999999999999", 0, big, big },
        { "-99999999999999999999999999", -big, big, -big },
        { "9223372036854775807", 0, big, big },
        { "9223372036854775808", 0, big, big },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        EXPECT_EQ (UpdateVersion::parseNumber (c.text, c.minimum, c.maximum), c.expected);
    }
}

//==============================================================================
struct ReplyCase
{
    const char* body;
    juce::int64 score;
    juce::int64 releaseDate;
};

TEST (UpdateReply, FieldsAreFoundByKeyIgnoringCase)
{
    const ReplyCase cases[] = {
        { "macVersion:1.0.7;macReleaseDate:1700000000000", 10799, 1700000000000 },
        { "macReleaseDate:12;macVersion:1.0.7 beta 3", 10703, 12 },
        { "MACVERSION:1.0.7;MACRELEASEDATE:5", 10799, 5 },
        { "winVersion:9.9.9;macVersion:1.0.5", 10599, 0 },
        { "macVersion: 1.0.7", 10799, 0 }, // the value is trimmed when read as a version
        { " macVersion:1.0.7", 99, 0 }, // keys are not trimmed
        { "\nmacVersion:1.0.7", 99, 0 }, // a line break becomes part of the key
        { "macVersion:1.0.7;macVersion:1.0.5", 10599, 0 }, // the later field wins
        { "macVersion:1:2", 10099, 0 }, // split at the first ":"
        { "\"macVersion:1.0.7\";macReleaseDate:3", 10799, 3 },
        { "\"macVersion:1.0.7;beta 2\"", 10702, 0 }, // quotes keep the ";" inside the field
        { "macVersion", 99, 0 },
        { "", 99, 0 },
        { ";;;;;;;;", 99, 0 },
        { "\"\"\"\";\";\"", 99, 0 },
        { "\"macVersion:9.9.9", 99, 0 }, // an unclosed quote swallows the field
        { "macReleaseDate:99999999999999999999", 99, UpdateReply::latestReleaseDate },
        { "macReleaseDate:-5", 99, 0 },
        { "macReleaseDate:tomorrow", 99, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.body).quoted());
        const auto reply = UpdateReply::fromVersionReply (c.body);
        EXPECT_EQ (reply.version.getScore(), c.score);
        EXPECT_EQ (reply.releaseDate, c.releaseDate);
    }
}

TEST (UpdateReply, MissingPageGivesNoChangeLog)
{
    EXPECT_EQ (UpdateReply::changeLogFromBody ("- faster\n- smaller"), "- faster\n- smaller");
    EXPECT_EQ (UpdateReply::changeLogFromBody ("<html><h1>Sorry, the page you're looking for is not available.</h1></html>"), "");
    EXPECT_EQ (UpdateReply::changeLogFromBody (""), "");
}

TEST (UpdateReply, BodiesDecodeSafely)
{
    const auto decode = [] (std::initializer_list<juce::uint8> bytes)
    {
        const std::vector<juce::uint8> data (bytes);
        return UpdateReply::decodeBody (data.data(), data.size());
    };

    EXPECT_EQ (decode ({ 'a', 0xc3, 0xa9 }), juce::String::fromUTF8 ("a\xc3\xa9"));
    // Not UTF-8: one character per byte.
    EXPECT_EQ (decode ({ 0xff, 0xfe, 'a' }), juce::String::charToString (0xff) + juce::String::charToString (0xfe) + "a");
    // A sequence cut off at the end must not be read past the buffer.
    EXPECT_EQ (decode ({ 'a', 0xe2, 0x82 }).length(), 3);
    // Text ends at a NUL.
    EXPECT_EQ (decode ({ 'o', 'k', 0, 0xff, 0xff }), "ok");
    EXPECT_EQ (UpdateReply::decodeBody (nullptr, 10), "");
}

TEST (UpdateReply, RandomBodiesStayWithinTheRules)
{
    juce::Random random (1234);
    const char* const pieces[] = { "macVersion", "MacReleaseDate", ":", ";", "\"", ".", "beta", "1", "99999999999", "-", " ", "\n" };

    for (int round = 0; round < 3000; ++round)
    {
        juce::MemoryBlock data;

        if (round % 2 == 0)
        {
            data.setSize ((size_t) random.nextInt (512));
            random.fillBitsRandomly (data.getData(), data.getSize());
        }
        else
        {
            juce::String text;
            for (int i = random.nextInt (40); --i >= 0;)
                text << pieces[random.nextInt ((int) std::size (pieces))];
            data.append (text.toRawUTF8(), text.getNumBytesAsUTF8());
        }

        const auto body = UpdateReply::decodeBody (data.getData(), data.getSize());
        const auto reply = UpdateReply::fromVersionReply (body);

        ASSERT_GE (reply.releaseDate, 0);
        ASSERT_LE (reply.releaseDate, UpdateReply::latestReleaseDate);
        ASSERT_GE (reply.version.major, 0);
        ASSERT_GE (reply.version.minor, 0);
        ASSERT_GE (reply.version.patch, 0);
        ASSERT_GE (reply.version.beta, 0);
        ASSERT_LE (reply.version.beta, UpdateVersion::releaseBetaNumber);
        ASSERT_EQ (reply.version.beta == UpdateVersion::releaseBetaNumber, ! reply.version.isBeta);
    }
}
} // namespace
