#include "PresetTestSupport.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetFileWriter.h"

#include <cstring>

using namespace oryn::test;
using mv::pluginCore::PresetFileReader;
using mv::pluginCore::PresetFileWriter;

namespace
{
class PresetFileTest : public PresetTest
{
protected:
    juce::File userFile (const juce::String& name) { return manager().getUserFolder().getChildFile (name); }

    /** Every parameter to a value away from its default, different per parameter. */
    void setEveryParameterAwayFromDefault()
    {
        int index = 0;
        for (const auto* id : OrynParamIDs::all)
        {
            auto& param = parameter (*processor, id);
            const auto normalised = param.getDefaultValue() > 0.5f ? 0.1f + 0.01f * (float) index : 0.9f - 0.01f * (float) index;
            param.setValueNotifyingHost (normalised);
            ++index;
        }
    }

    void expectEveryParameterFiniteAndInRange (OrynAudioProcessor& p)
    {
        for (const auto* id : OrynParamIDs::all)
        {
            auto& param = parameter (p, id);
            const auto value = plainValue (p, id);
            EXPECT_TRUE (std::isfinite (value)) << id;
            EXPECT_GE (value, param.getNormalisableRange().start) << id;
            EXPECT_LE (value, param.getNormalisableRange().end) << id;
        }
    }
};

TEST_F (PresetFileTest, WrittenAndReadBackRestoresEveryParameter)
{
    setEveryParameterAwayFromDefault();
    const auto file = userFile ("Everything.mvpreset");
    manager().savePreset (file, false);

    auto other = makeProcessor();
    other->getPresetsManager().loadPreset (file);

    for (const auto* id : OrynParamIDs::all)
    {
        EXPECT_FLOAT_EQ (plainValue (*other, id), plainValue (id)) << id;
        EXPECT_NE (parameter (*other, id).getValue(), parameter (*other, id).getDefaultValue()) << id;
    }
    EXPECT_EQ (other->getPresetsManager().getCurrentPresetFile(), file);
}

TEST_F (PresetFileTest, FileHoldsOnlyVersionAndParametersInTheFrameworkTextFormat)
{
    processor->setEditorSize (1200, 1000);
    processor->getLockedParams().add (OrynParamIDs::dry);
    processor->getSettingsTree().setProperty ("someSetting", 1, nullptr);
    manager().setCurrentPresetFile (userFile ("Previous.mvpreset"));

    const auto file = userFile ("Format.mvpreset");
    manager().savePreset (file, false);
    const auto text = file.loadFileAsString();

    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")) << text;
    EXPECT_EQ (text.replace ("\r\n", "").indexOfChar ('\n'), -1) << "every line ends with CR LF";
    EXPECT_TRUE (text.contains ("<Oryn version=\"1.0.6\">"));
    EXPECT_TRUE (text.contains ("\r\n  <PARAMS>\r\n    <PARAM id="));

    for (const auto* absent : { "pluginEditorWidth", "pluginEditorHeight", "Settings", "lockedParams", "lastPreset", "<Data" })
        EXPECT_FALSE (text.contains (absent)) << absent;

    const auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "Oryn");
    EXPECT_EQ (xml->getNumAttributes(), 1);
    EXPECT_EQ (xml->getNumChildElements(), 1);
    const auto* params = xml->getChildByName ("PARAMS");
    ASSERT_NE (params, nullptr);
    EXPECT_EQ (params->getNumChildElements(), OrynParamIDs::numParameters);

    for (const auto* id : OrynParamIDs::all)
    {
        const auto* param = params->getChildByAttribute ("id", id);
        ASSERT_NE (param, nullptr) << id;
        EXPECT_EQ (param->getTagName(), "PARAM");
        EXPECT_FLOAT_EQ ((float) param->getDoubleAttribute ("value"), plainValue (id)) << id;
    }

    // The framework's default format, byte for byte.
    EXPECT_EQ (text, PresetFileWriter::toText (*processor->createStateXml (false)));
}

TEST_F (PresetFileTest, DataTreeIsWrittenWhenNonEmptyAndAppliedOnLoad)
{
    processor->getDataTree().setProperty ("sample", "pad.wav", nullptr);
    const auto file = userFile ("WithData.mvpreset");
    manager().savePreset (file, false);
    EXPECT_TRUE (file.loadFileAsString().contains ("<Data sample=\"pad.wav\"/>"));

    auto other = makeProcessor();
    other->getPresetsManager().loadPreset (file);
    EXPECT_EQ (other->getDataTree().getProperty ("sample").toString(), "pad.wav");
}

TEST_F (PresetFileTest, WriteReplacesTheWholeFileAndLeavesNoTemporaryBehind)
{
    const auto file = writeText (userFile ("Replace.mvpreset"), juce::String::repeatedString ("old content ", 5000));
    ASSERT_TRUE (PresetFileWriter::write (*processor->createStateXml (false), file));

    EXPECT_FALSE (file.loadFileAsString().contains ("old content"));
    EXPECT_EQ (manager().getUserFolder().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
}

TEST_F (PresetFileTest, WriteIntoAMissingFolderOrOverAFolderFailsQuietly)
{
    const auto state = processor->createStateXml (false);
    EXPECT_FALSE (PresetFileWriter::write (*state, userFile ("missing/A.mvpreset")));
    EXPECT_FALSE (userFile ("missing").exists());

    const auto folder = userFile ("Folder.mvpreset");
    ASSERT_TRUE (folder.createDirectory());
    EXPECT_FALSE (PresetFileWriter::write (*state, folder));
    EXPECT_TRUE (folder.isDirectory());
    EXPECT_FALSE (PresetFileWriter::write (*state, juce::File()));
}

TEST_F (PresetFileTest, RootTagDifferingOnlyInCaseIsAccepted)
{
    const auto file = writeText (userFile ("Case.mvpreset"), presetText ({ { OrynParamIDs::feedback, "12" } }, "oRYN"));
    manager().loadPreset (file);
    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::feedback), 12.0f);
}

struct BadValueCase
{
    const char* id;
    const char* text;
    enum class Expect
    {
        defaultValue,
        minimum,
        maximum,
        exactly
    } expect;
    float value = 0.0f;
};

class PresetFileBadValues : public PresetFileTest, public ::testing::WithParamInterface<BadValueCase>
{
};

TEST_P (PresetFileBadValues, ValuesAreClampedOrReturnToTheirDefault)
{
    const auto& c = GetParam();

    // Start away from the default, so that a return to it is visible.
    auto& param = parameter (*processor, c.id);
    param.setValueNotifyingHost (param.getDefaultValue() > 0.5f ? 0.2f : 0.8f);

    const auto file = writeText (userFile ("Bad.mvpreset"), presetText ({ { c.id, c.text } }));
    manager().loadPreset (file);

    const auto value = plainValue (c.id);
    const auto& range = param.getNormalisableRange();
    ASSERT_TRUE (std::isfinite (value)) << c.text;

    switch (c.expect)
    {
        case BadValueCase::Expect::defaultValue:
            EXPECT_FLOAT_EQ (value, range.convertFrom0to1 (param.getDefaultValue())) << c.text;
            break;
        case BadValueCase::Expect::minimum:
            EXPECT_FLOAT_EQ (value, range.start) << c.text;
            break;
        case BadValueCase::Expect::maximum:
            EXPECT_FLOAT_EQ (value, range.end) << c.text;
            break;
        case BadValueCase::Expect::exactly:
            EXPECT_FLOAT_EQ (value, c.value) << c.text;
            break;
    }
}

using E = BadValueCase::Expect;

INSTANTIATE_TEST_SUITE_P (Cases,
                          PresetFileBadValues,
                          ::testing::Values (BadValueCase{ OrynParamIDs::lowCut, "abc", E::minimum },
                                             BadValueCase{ OrynParamIDs::feedback, "abc", E::exactly, 0.0f },
                                             BadValueCase{ OrynParamIDs::size, "nan", E::defaultValue },
                                             BadValueCase{ OrynParamIDs::wet, "NaN", E::defaultValue },
                                             BadValueCase{ OrynParamIDs::hiCut, "1e999", E::maximum },
                                             BadValueCase{ OrynParamIDs::dry, "-1e999", E::minimum },
                                             BadValueCase{ OrynParamIDs::predelayFreeTime, "inf", E::maximum },
                                             BadValueCase{ OrynParamIDs::freqShiftFreq, "-5000", E::minimum },
                                             BadValueCase{ OrynParamIDs::pitchNote1, "1000", E::maximum },
                                             BadValueCase{ OrynParamIDs::pitchNote2, "-3", E::minimum },
                                             BadValueCase{ OrynParamIDs::predelayNoteTime, "7.6", E::exactly, 8.0f },
                                             BadValueCase{ OrynParamIDs::freeze, "5", E::maximum },
                                             BadValueCase{ OrynParamIDs::mod, "  42.5  ", E::exactly, 42.5f }),
                          [] (const ::testing::TestParamInfo<BadValueCase>& testInfo)
                          { return std::string (testInfo.param.id) + "_" + std::to_string (testInfo.index); });

TEST_F (PresetFileTest, ParameterChildWithoutValueReturnsToItsDefault)
{
    setPlainValue (OrynParamIDs::feedback, 10.0f);
    const auto file = writeText (userFile ("NoValue.mvpreset"),
                                 "<Oryn><PARAMS><PARAM id=\"feedback\"/><PARAM id=\"unknown\" value=\"3\"/></PARAMS></Oryn>");
    manager().loadPreset (file);
    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::feedback), 50.0f);
}

/** Files that are no preset at all: nothing changes and nobody is told. */
struct UnreadableCase
{
    const char* name;
    std::function<juce::MemoryBlock()> content;
};

class PresetFileUnreadable : public PresetFileTest, public ::testing::WithParamInterface<UnreadableCase>
{
};

TEST_P (PresetFileUnreadable, ChangesNothing)
{
    setPlainValue (OrynParamIDs::feedback, 33.0f);
    const auto previous = userFile ("Previous.mvpreset");
    manager().setCurrentPresetFile (previous);

    std::vector<std::string> log;
    RecordingListener listener (log, "L");
    manager().addListener (&listener);

    const auto content = GetParam().content();
    const auto file = userFile ("Broken.mvpreset");
    ASSERT_TRUE (file.replaceWithData (content.getData(), content.getSize()));

    manager().loadPreset (file);

    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::feedback), 33.0f);
    EXPECT_EQ (manager().getCurrentPresetFile(), previous);
    EXPECT_TRUE (log.empty());
    manager().removeListener (&listener);
}

juce::MemoryBlock fromText (const juce::String& text)
{
    return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

const std::string validPreset = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Oryn version=\"1.0.6\"><PARAMS><PARAM id=\"feedback\" value=\"90\"/></PARAMS></Oryn>";

INSTANTIATE_TEST_SUITE_P (Cases,
                          PresetFileUnreadable,
                          ::testing::Values (
                              UnreadableCase{ "Empty", []
                                              { return juce::MemoryBlock(); } },
                              UnreadableCase{ "Truncated", []
                                              { return fromText (juce::String (validPreset).substring (0, (int) validPreset.size() / 2)); } },
                              // Hangs the framework's parser if let through.
                              UnreadableCase{ "ProcessingInstructionBeforeText", []
                                              { return fromText ("<Oryn><PARAMS><?"
                                                                 "?>P</PARAMS></Oryn>"); } },
                              UnreadableCase{ "DeclarationOnly", []
                                              { return fromText ("<?xml version=\"1.0\"?>"); } },
                              UnreadableCase{ "Binary", []
                                              {
                                                  constexpr size_t binarySize = 4096;
                                                  juce::MemoryBlock data (binarySize);
                                                  juce::Random random (1234);
                                                  random.fillBitsRandomly (data.getData(), data.getSize());
                                                  return data;
                                              } },
                              UnreadableCase{ "ZeroBytes", []
                                              {
                                                  const auto text = validPreset + std::string ("\0garbage", 8);
                                                  return juce::MemoryBlock (text.data(), text.size());
                                              } },
                              UnreadableCase{ "DeeplyNested", []
                                              {
                                                  // Deep enough to exhaust the parser's stack if it were let in.
                                                  constexpr size_t depth = 200000;
                                                  std::string text;
                                                  for (size_t i = 0; i < depth; ++i)
                                                      text += "<Oryn>";
                                                  for (size_t i = 0; i < depth; ++i)
                                                      text += "</Oryn>";
                                                  return juce::MemoryBlock (text.data(), text.size());
                                              } },
                              UnreadableCase{ "Huge", []
                                              {
                                                  // A valid preset padded to tens of megabytes.
                                                  constexpr size_t hugeSize = 40 * 1024 * 1024;
                                                  std::string text = validPreset.substr (0, validPreset.size() - 7);
                                                  text.append (hugeSize, ' ');
                                                  text += "</Oryn>";
                                                  return juce::MemoryBlock (text.data(), text.size());
                                              } }),
                          [] (const ::testing::TestParamInfo<UnreadableCase>& testInfo)
                          { return std::string (testInfo.param.name); });

TEST_F (PresetFileTest, LargeButPlausibleFileStillLoads)
{
    // A few megabytes of unknown parameters around a known one.
    juce::MemoryOutputStream text;
    text << "<Oryn><PARAMS>";
    constexpr int unknownEntries = 40000;
    for (int i = 0; i < unknownEntries; ++i)
        text << "<PARAM id=\"unknown" << i << "\" value=\"" << i << "\"/>";
    text << "<PARAM id=\"size\" value=\"37\"/></PARAMS></Oryn>";

    const auto file = userFile ("Large.mvpreset");
    ASSERT_TRUE (file.replaceWithData (text.getData(), text.getDataSize()));
    ASSERT_GT (file.getSize(), 1024 * 1024);
    manager().loadPreset (file);
    EXPECT_FLOAT_EQ (plainValue (OrynParamIDs::size), 37.0f);
    expectEveryParameterFiniteAndInRange (*processor);
}

TEST_F (PresetFileTest, ReaderRefusesWhatCannotBeAPreset)
{
    EXPECT_EQ (PresetFileReader::read (userFile ("missing.mvpreset")), nullptr);
    EXPECT_EQ (PresetFileReader::read (manager().getUserFolder()), nullptr);
    EXPECT_EQ (PresetFileReader::parse (nullptr, 10), nullptr);

    const std::string invalidUtf8 = "<Oryn name=\"\xff\xfe\xfd\"/>";
    EXPECT_EQ (PresetFileReader::parse (invalidUtf8.data(), invalidUtf8.size()), nullptr);

    EXPECT_NE (PresetFileReader::parse (validPreset.data(), validPreset.size()), nullptr);

    for (const auto* unsafe : { "<Oryn a=\"&#x\"/>", "<Oryn a=\"&unknown;\"/>", "<Oryn><?pi?>x</Oryn>" })
        EXPECT_EQ (PresetFileReader::parse (unsafe, std::strlen (unsafe)), nullptr) << unsafe;

    const juce::String text (validPreset);
    const auto utf16 = text.toUTF16(); // points into text
    juce::MemoryOutputStream withMark;
    withMark.writeByte ((char) 0xff);
    withMark.writeByte ((char) 0xfe);
    withMark.write (utf16.getAddress(), validPreset.size() * sizeof (juce::CharPointer_UTF16::CharType));
    EXPECT_NE (PresetFileReader::parse (withMark.getData(), withMark.getDataSize()), nullptr);
}
} // namespace
