#include "HostedState.h"
#include "OfflineRenderer.h"
#include "PluginInfo.h"
#include "PluginLoader.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;

const juce::File bundle{ ORYN_TEST_BUNDLE };

std::unique_ptr<juce::AudioPluginInstance> loadPlugin()
{
    juce::String error;
    auto instance = PluginLoader::load (bundle, sampleRate, blockSize, error);
    EXPECT_NE (instance, nullptr) << error;
    return instance;
}

juce::String hostedText (juce::AudioPluginInstance& instance, const char* id)
{
    auto* p = OfflineRenderer::findParameter (instance, id);
    return p == nullptr ? juce::String ("<missing>") : p->getCurrentValueAsText();
}

bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& audio, double rate, int bits)
{
    (void) file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), rate, (unsigned int) audio.getNumChannels(), bits, {}, 0));
    if (writer == nullptr)
        return false;
    (void) stream.release();
    return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}

juce::AudioBuffer<float> readWav (const juce::File& file)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));
    if (reader == nullptr)
        return {};
    juce::AudioBuffer<float> audio ((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
    return audio;
}
} // namespace

TEST (HostedPlugin, ShowsItsParametersInLayoutOrderThenBypass)
{
    auto instance = loadPlugin();
    ASSERT_NE (instance, nullptr);

    const juce::StringArray names{
        "Sync Pre-Delay",
        "Pre-Delay ms",
        "Pre-Delay Note",
        "Feedback",
        "Size",
        "Diffusion",
        "Freeze",
        "Low Cut",
        "High Cut",
        "Shift I",
        "Shift I Level",
        "Shift I Reverse",
        "Shift II",
        "Shift II Level",
        "Shift II Reverse",
        "Shift III",
        "Shift III Reverse",
        "Shift III Level",
        "Width",
        "Mod",
        "dry",
        "wet",
        "Enable Dry Signal",
        "Enable Wet Signal",
        "Bypass"
    };

    const auto& parameters = instance->getParameters();
    ASSERT_EQ (parameters.size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ (parameters[i]->getName (100), names[i]) << "index " << i;

    EXPECT_EQ (hostedText (*instance, "pitchNote1"), "+1 Oct.");
    EXPECT_EQ (hostedText (*instance, "dry"), "-6.0");
    EXPECT_EQ (parameters[6]->getLabel(), "");
    EXPECT_EQ (parameters[1]->getLabel(), " ms");
}

TEST (HostedPlugin, AnnouncesItselfAsAStereoReverb)
{
    juce::PluginDescription description;
    juce::String error;
    ASSERT_TRUE (PluginLoader::describe (bundle, description, error)) << error;
    EXPECT_EQ (description.name, "Oryn");
    EXPECT_EQ (description.manufacturerName, "Morvak");
    EXPECT_EQ (description.version, "1.0.6");
    EXPECT_EQ (description.category, "Fx|Reverb");

    auto instance = loadPlugin();
    ASSERT_NE (instance, nullptr);
    for (const auto& layout : PluginInfo::layoutsToCheck())
    {
        const bool expected = layout.output == juce::AudioChannelSet::stereo()
                              && (layout.input == juce::AudioChannelSet::stereo() || layout.input == juce::AudioChannelSet::mono());
        EXPECT_EQ (PluginInfo::supportsLayout (*instance, layout), expected) << layout.name;
    }
}

TEST (HostedPlugin, StateSurvivesTheVst3Boundary)
{
    juce::MemoryBlock saved;
    {
        auto instance = loadPlugin();
        ASSERT_NE (instance, nullptr);
        juce::String error;
        ASSERT_TRUE (OfflineRenderer::applySetting (*instance, "feedback", "73", error)) << error;
        ASSERT_TRUE (OfflineRenderer::applySetting (*instance, "pitchNote2", "+5th", error)) << error;
        ASSERT_TRUE (OfflineRenderer::applySetting (*instance, "freeze", "Enabled", error)) << error;
        instance->getStateInformation (saved);
    }

    const auto chunk = HostedState::extractPluginChunk (saved);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (chunk.getData(), (int) chunk.getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "Oryn");
    EXPECT_EQ (xml->getStringAttribute ("version"), "1.0.6");

    auto restored = loadPlugin();
    ASSERT_NE (restored, nullptr);
    restored->setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (hostedText (*restored, "feedback"), "73");
    EXPECT_EQ (hostedText (*restored, "pitchNote2"), "+5th");
    EXPECT_EQ (hostedText (*restored, "freeze"), "Enabled");
    EXPECT_EQ (hostedText (*restored, "size"), "80");
}

TEST (HostedPlugin, RenderPassesAudioUnchangedWithoutAnEngine)
{
    const auto folder = oryn::test::TestFolders::root().getChildFile ("render");
    (void) folder.createDirectory();
    const auto input = folder.getChildFile ("in.wav");
    const auto output = folder.getChildFile ("out.wav");

    juce::AudioBuffer<float> audio (2, 3000);
    juce::Random random (7);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            audio.setSample (ch, i, random.nextFloat() - 0.5f);
    ASSERT_TRUE (writeWav (input, audio, 44100.0, 32));

    OfflineRenderer::Options options;
    options.bundle = bundle;
    options.input = input;
    options.output = output;
    options.blockSize = 100;
    options.tailSeconds = 0.0;
    juce::String error;
    ASSERT_TRUE (OfflineRenderer::render (options, error)) << error;

    const auto rendered = readWav (output);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    ASSERT_EQ (rendered.getNumSamples(), audio.getNumSamples());
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            ASSERT_EQ (rendered.getSample (ch, i), audio.getSample (ch, i)) << ch << ":" << i;
}

TEST (HostedPlugin, RenderReportsBadInputClearly)
{
    OfflineRenderer::Options options;
    options.bundle = bundle;
    options.input = oryn::test::TestFolders::root().getChildFile ("missing.wav");
    options.output = oryn::test::TestFolders::root().getChildFile ("never.wav");
    juce::String error;
    EXPECT_FALSE (OfflineRenderer::render (options, error));
    EXPECT_TRUE (error.contains ("missing.wav")) << error;

    options.bundle = oryn::test::TestFolders::root().getChildFile ("Nope.vst3");
    juce::String loadError;
    EXPECT_EQ (PluginLoader::load (options.bundle, sampleRate, blockSize, loadError), nullptr);
    EXPECT_TRUE (loadError.contains ("Nope.vst3")) << loadError;

    auto instance = loadPlugin();
    ASSERT_NE (instance, nullptr);
    juce::String settingError;
    EXPECT_FALSE (OfflineRenderer::applySetting (*instance, "noSuchParameter", "1", settingError));
    EXPECT_TRUE (settingError.contains ("noSuchParameter"));
}
