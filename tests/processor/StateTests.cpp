#include "OrynAudioProcessor.h"
#include "OrynParamIDs.h"
#include "processor/StateChunk.h"

#include <gtest/gtest.h>

namespace
{
constexpr juce::uint32 chunkMagic = 0x21324356; // "VC2!" little-endian
constexpr int chunkHeader = 8;

juce::MemoryBlock stateOf (OrynAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

std::unique_ptr<juce::XmlElement> xmlOf (const juce::MemoryBlock& chunk)
{
    const auto length = (int) juce::ByteOrder::littleEndianInt (static_cast<const char*> (chunk.getData()) + 4);
    return juce::parseXML (juce::String::fromUTF8 (static_cast<const char*> (chunk.getData()) + chunkHeader, length));
}

float plain (OrynAudioProcessor& processor, const char* id)
{
    auto* p = processor.getParameterState().getParameter (id);
    return p->convertFrom0to1 (p->getValue());
}

void setPlain (OrynAudioProcessor& processor, const char* id, float value)
{
    auto* p = processor.getParameterState().getParameter (id);
    p->setValueNotifyingHost (p->convertTo0to1 (value));
}

std::vector<float> allValues (OrynAudioProcessor& processor)
{
    std::vector<float> values;
    for (auto* p : processor.getParameters())
        values.push_back (p->getValue());
    return values;
}

juce::MemoryBlock chunkWithText (const juce::String& xml)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt ((int) chunkMagic);
    out.writeInt ((int) xml.getNumBytesAsUTF8());
    out << xml;
    out.writeByte (0);
    return block;
}
} // namespace

TEST (HostState, NewInstanceChunkHasTheFrameAndDefaults)
{
    OrynAudioProcessor processor;
    const auto chunk = stateOf (processor);
    const auto* bytes = static_cast<const char*> (chunk.getData());

    ASSERT_GT (chunk.getSize(), 9u);
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes), chunkMagic);
    EXPECT_EQ (std::string (bytes, 4), "VC2!");
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), (juce::uint32) chunk.getSize() - 9);
    EXPECT_EQ (bytes[chunk.getSize() - 1], 0);

    const juce::String text (juce::CharPointer_UTF8 (bytes + chunkHeader), juce::CharPointer_UTF8 (bytes + chunk.getSize() - 1));
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE (text.containsAnyOf ("\r\n")) << "written on one line";
    EXPECT_TRUE (text.contains ("<Oryn version=\"1.0.6\" lockedParams=\"\">")) << text;

    const auto xml = xmlOf (chunk);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "Oryn");
    EXPECT_EQ (xml->getNumAttributes(), 2);
    EXPECT_EQ (xml->getAttributeName (0), "version");
    EXPECT_EQ (xml->getAttributeName (1), "lockedParams");
    EXPECT_FALSE (xml->hasAttribute ("pluginEditorWidth"));
    EXPECT_EQ (xml->getNumChildElements(), 2);
    EXPECT_EQ (xml->getChildElement (0)->getTagName(), "PARAMS");
    EXPECT_EQ (xml->getChildElement (1)->getTagName(), "Settings");
    EXPECT_EQ (xml->getChildElement (1)->getNumChildElements(), 0);
    EXPECT_EQ (xml->getChildElement (1)->getNumAttributes(), 0);
    EXPECT_EQ (xml->getChildByName ("lastPreset"), nullptr);

    auto* params = xml->getChildByName ("PARAMS");
    ASSERT_EQ (params->getNumChildElements(), OrynParamIDs::numParameters);
    for (auto* param : params->getChildIterator())
    {
        EXPECT_EQ (param->getTagName(), "PARAM");
        const auto id = param->getStringAttribute ("id");
        auto* p = processor.getParameterState().getParameter (id);
        ASSERT_NE (p, nullptr) << id;
        EXPECT_FLOAT_EQ ((float) param->getDoubleAttribute ("value"), p->convertFrom0to1 (p->getDefaultValue())) << id;
    }
}

TEST (HostState, RoundTripRestoresValuesEditorSizeAndLocks)
{
    OrynAudioProcessor source;
    setPlain (source, "feedback", 73.0f);
    setPlain (source, "pitchNote1", 21.0f);
    setPlain (source, "freeze", 1.0f);
    setPlain (source, "dry", -12.5f);
    source.setEditorSize (1200, 1000);
    source.getLockedParams() = { "dry", "wet" };
    const auto chunk = stateOf (source);

    OrynAudioProcessor restored;
    restored.setStateInformation (chunk.getData(), (int) chunk.getSize());

    EXPECT_EQ (allValues (restored), allValues (source));
    EXPECT_EQ (restored.getEditorWidth(), 1200);
    EXPECT_EQ (restored.getEditorHeight(), 1000);
    EXPECT_EQ (restored.getLockedParams(), juce::StringArray ({ "dry", "wet" }));
    EXPECT_TRUE (restored.isResetPending());

    const auto xml = xmlOf (chunk);
    EXPECT_EQ (xml->getAttributeName (1), "pluginEditorWidth");
    EXPECT_EQ (xml->getAttributeName (2), "pluginEditorHeight");
    EXPECT_EQ (xml->getStringAttribute ("lockedParams"), "dry;wet");
}

TEST (HostState, LockedParametersKeepTheirValuesAgainstARestore)
{
    OrynAudioProcessor source;
    setPlain (source, "dry", 6.0f);
    setPlain (source, "wet", -30.0f);
    setPlain (source, "feedback", 10.0f);
    const auto chunk = stateOf (source);

    OrynAudioProcessor target;
    setPlain (target, "dry", -3.0f);
    setPlain (target, "wet", 0.0f);
    target.getLockedParams() = { "dry", "unknownID", "wet" };
    target.setStateInformation (chunk.getData(), (int) chunk.getSize());

    EXPECT_FLOAT_EQ (plain (target, "dry"), -3.0f);
    EXPECT_FLOAT_EQ (plain (target, "wet"), 0.0f);
    EXPECT_NEAR (plain (target, "feedback"), 10.0f, 1.0e-4f);
    EXPECT_TRUE (target.getLockedParams().isEmpty()) << "the lock list becomes the chunk's";
}

TEST (HostState, StateWithoutEditorSizeForgetsTheOldSize)
{
    OrynAudioProcessor source;
    const auto chunk = stateOf (source);

    OrynAudioProcessor target;
    target.setEditorSize (800, 700);
    target.setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_EQ (target.getEditorWidth(), -1);
    EXPECT_EQ (target.getEditorHeight(), -1);
}

TEST (HostState, InvalidChunksChangeNothing)
{
    OrynAudioProcessor reference;
    setPlain (reference, "feedback", 90.0f);
    auto valid = stateOf (reference);

    auto wrongMagic = valid;
    static_cast<char*> (wrongMagic.getData())[0] = 'X';
    auto zeroLength = valid;
    std::memset (static_cast<char*> (zeroLength.getData()) + 4, 0, 4);
    juce::MemoryBlock shortChunk (valid.getData(), 8);
    auto truncated = valid;
    truncated.setSize (valid.getSize() / 2);

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        { "empty", juce::MemoryBlock() },
        { "8 bytes", shortChunk },
        { "wrong magic", wrongMagic },
        { "zero length", zeroLength },
        { "truncated XML", truncated },
        { "not XML", chunkWithText ("this is not xml") },
        { "foreign root", chunkWithText ("<Other version=\"1\" lockedParams=\"dry\"><PARAMS><PARAM id=\"feedback\" value=\"90\"/></PARAMS></Other>") },
        { "deeply nested", chunkWithText ("<Oryn>" + juce::String::repeatedString ("<a>", 100000) + "</Oryn>") },
        { "invalid UTF-8", juce::MemoryBlock ("VC2!\x0a\x00\x90\x00VC\xfc", 11) },
        { "parser trap", chunkWithText ("<Oryn><?x?>P</Oryn>") },
    };

    for (const auto& [name, chunk] : cases)
    {
        OrynAudioProcessor processor;
        processor.setEditorSize (640, 480);
        const auto before = allValues (processor);
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());

        EXPECT_EQ (allValues (processor), before) << name;
        EXPECT_EQ (processor.getEditorWidth(), 640) << name;
        EXPECT_FALSE (processor.isResetPending()) << name;
    }
}

TEST (HostState, ValuesAreClampedAndNonNumbersFallBackToDefaults)
{
    const auto xml = juce::String ("<Oryn version=\"1.0.6\"><PARAMS>")
                     + "<PARAM id=\"feedback\" value=\"1e999\"/>"
                     + "<PARAM id=\"size\" value=\"nan\"/>"
                     + "<PARAM id=\"dry\" value=\"-1000\"/>"
                     + "<PARAM id=\"mod\" value=\"abc\"/>"
                     + "<PARAM id=\"width\"/>"
                     + "<PARAM id=\"notAParameter\" value=\"5\"/>"
                     + "<param id=\"diffusion\" value=\"20\"/>"
                     + juce::String::repeatedString ("<Unknown a=\"1\"/>", 5000)
                     + "</PARAMS></Oryn>";
    const auto chunk = chunkWithText (xml);

    OrynAudioProcessor processor;
    setPlain (processor, "width", 10.0f);
    setPlain (processor, "lowCut", 300.0f);
    processor.setStateInformation (chunk.getData(), (int) chunk.getSize());

    EXPECT_FLOAT_EQ (plain (processor, "feedback"), 100.0f);
    EXPECT_FLOAT_EQ (plain (processor, "size"), 80.0f) << "NaN returns to the default";
    EXPECT_FLOAT_EQ (plain (processor, "dry"), -60.0f);
    EXPECT_FLOAT_EQ (plain (processor, "mod"), 0.0f);
    EXPECT_FLOAT_EQ (plain (processor, "width"), 100.0f) << "no value returns to the default";
    EXPECT_FLOAT_EQ (plain (processor, "lowCut"), 10.0f) << "a missing parameter returns to the default";
    EXPECT_NEAR (plain (processor, "diffusion"), 20.0f, 1.0e-4f);

    for (auto* p : processor.getParameters())
        EXPECT_TRUE (std::isfinite (p->getValue()));
}

TEST (HostState, TagsAreMatchedWithoutRegardToCase)
{
    const auto chunk = chunkWithText ("<ORYN version=\"1.0.6\" pluginEditorWidth=\"900\"><params><PARAM id=\"feedback\" value=\"33\"/></params></ORYN>");
    OrynAudioProcessor processor;
    processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_NEAR (plain (processor, "feedback"), 33.0f, 1.0e-4f);
    EXPECT_EQ (processor.getEditorWidth(), 900);
}

TEST (HostState, DataAndSettingsTreesMergeKeepingTheirObjects)
{
    OrynAudioProcessor processor;
    auto settings = processor.getSettingsTree();
    settings.setProperty ("old", 1, nullptr);
    settings.appendChild (juce::ValueTree ("Item"), nullptr);
    settings.appendChild (juce::ValueTree ("Item"), nullptr);

    const auto chunk = chunkWithText ("<Oryn><Settings zoom=\"2\"><Item name=\"a\"/></Settings><Data x=\"1\"/></Oryn>");
    processor.setStateInformation (chunk.getData(), (int) chunk.getSize());

    EXPECT_EQ (processor.getSettingsTree(), settings) << "same object";
    EXPECT_FALSE (settings.hasProperty ("old"));
    EXPECT_EQ (settings.getProperty ("zoom").toString(), "2");
    ASSERT_EQ (settings.getNumChildren(), 1);
    EXPECT_EQ (settings.getChild (0).getProperty ("name").toString(), "a");
    EXPECT_EQ (processor.getDataTree().getProperty ("x").toString(), "1");

    const auto xml = xmlOf (stateOf (processor));
    EXPECT_NE (xml->getChildByName ("Data"), nullptr) << "a non-empty data tree is written";
}

TEST (StateChunkParser, NestingDepthCountsElementsOnly)
{
    using mv::pluginCore::StateChunk;
    EXPECT_EQ (StateChunk::nestingDepth ("<a><b/><c><d></d></c></a>"), 3);
    EXPECT_EQ (StateChunk::nestingDepth ("<?xml version=\"1.0\"?><!-- x --><a x=\"<b>\"></a>"), 1);
    EXPECT_EQ (StateChunk::parseXml (juce::String::repeatedString ("<a>", 5000)), nullptr);
}
