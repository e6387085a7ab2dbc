#include "DemoInput.h"
#include "HostedState.h"
#include "OfflineRenderer.h"
#include "PluginInfo.h"
#include "PluginLoader.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <complex>
#include <iostream>

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

namespace
{
/** Renders audio through the bundle at 48 kHz with the given settings; empty on failure. */
juce::AudioBuffer<float> renderThrough (const juce::AudioBuffer<float>& audio,
                                        const char* name,
                                        std::vector<std::pair<juce::String, juce::String>> settings,
                                        double tailSeconds)
{
    const auto folder = oryn::test::TestFolders::root().getChildFile ("render");
    (void) folder.createDirectory();
    const auto input = folder.getChildFile (juce::String (name) + "-in.wav");
    const auto output = folder.getChildFile (juce::String (name) + "-out.wav");
    EXPECT_TRUE (writeWav (input, audio, sampleRate, 32));

    OfflineRenderer::Options options;
    options.bundle = bundle;
    options.input = input;
    options.output = output;
    options.blockSize = blockSize;
    options.tailSeconds = tailSeconds;
    options.settings = std::move (settings);
    juce::String error;
    EXPECT_TRUE (OfflineRenderer::render (options, error)) << error;
    return readWav (output);
}

double windowRms (const juce::AudioBuffer<float>& audio, double fromSeconds, double toSeconds)
{
    const auto start = (int) (fromSeconds * sampleRate);
    const auto length = juce::jmin ((int) (toSeconds * sampleRate), audio.getNumSamples()) - start;
    double sum = 0.0;
    for (int ch = 0; ch < audio.getNumChannels(); ++ch)
        for (int i = start; i < start + length; ++i)
            sum += (double) audio.getSample (ch, i) * (double) audio.getSample (ch, i);
    return std::sqrt (sum / (double) juce::jmax (1, length * audio.getNumChannels()));
}

bool isFinite (const juce::AudioBuffer<float>& audio)
{
    for (int ch = 0; ch < audio.getNumChannels(); ++ch)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            if (! std::isfinite (audio.getSample (ch, i)))
                return false;
    return true;
}

/** In-place radix-2 FFT (size a power of two). */
void fft (std::vector<std::complex<double>>& x)
{
    const auto n = x.size();
    for (size_t i = 1, j = 0; i < n; ++i)
    {
        auto bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap (x[i], x[j]);
    }

    for (size_t length = 2; length <= n; length <<= 1)
    {
        const auto angle = -juce::MathConstants<double>::twoPi / (double) length;
        const std::complex<double> step (std::cos (angle), std::sin (angle));
        for (size_t i = 0; i < n; i += length)
        {
            std::complex<double> w (1.0);
            for (size_t k = 0; k < length / 2; ++k)
            {
                const auto a = x[i + k];
                const auto b = x[i + k + length / 2] * w;
                x[i + k] = a + b;
                x[i + k + length / 2] = a - b;
                w *= step;
            }
        }
    }
}

/** Spectral centroid in Hz of the left-plus-right signal between two times: Hann-windowed
    frames of 8192 samples, hop 4096, magnitudes summed over the frames, 40 Hz to 20 kHz. */
double spectralCentroid (const juce::AudioBuffer<float>& audio, double fromSeconds, double toSeconds)
{
    constexpr size_t frame = 8192;
    constexpr double lowestHz = 40.0, highestHz = 20000.0;
    std::vector<double> magnitude (frame / 2, 0.0);
    const auto first = (int) (fromSeconds * sampleRate);
    const auto last = juce::jmin ((int) (toSeconds * sampleRate), audio.getNumSamples()) - (int) frame;

    for (int start = first; start <= last; start += (int) frame / 2)
    {
        std::vector<std::complex<double>> x (frame);
        for (size_t i = 0; i < frame; ++i)
        {
            const auto window = 0.5 - 0.5 * std::cos (juce::MathConstants<double>::twoPi * (double) i / (double) frame);
            const auto index = start + (int) i;
            x[i] = window * ((double) audio.getSample (0, index) + (double) audio.getSample (1, index));
        }
        fft (x);
        for (size_t k = 0; k < frame / 2; ++k)
            magnitude[k] += std::abs (x[k]);
    }

    double weighted = 0.0, total = 0.0;
    for (size_t k = 0; k < frame / 2; ++k)
    {
        const auto hz = (double) k * sampleRate / (double) frame;
        if (hz >= lowestHz && hz <= highestHz)
        {
            weighted += hz * magnitude[k];
            total += magnitude[k];
        }
    }
    return total > 0.0 ? weighted / total : 0.0;
}

double peakLevel (const juce::AudioBuffer<float>& audio)
{
    float peak = 0.0f;
    for (int ch = 0; ch < audio.getNumChannels(); ++ch)
        peak = juce::jmax (peak, audio.getMagnitude (ch, 0, audio.getNumSamples()));
    return (double) peak;
}
} // namespace

TEST (HostedPlugin, AnImpulseLeavesAFiniteTailStillAudibleAfterTwoSeconds)
{
    juce::AudioBuffer<float> impulse (2, (int) (0.1 * sampleRate));
    impulse.clear();
    impulse.setSample (0, 0, 1.0f);
    impulse.setSample (1, 0, 1.0f);

    const auto rendered = renderThrough (impulse, "impulse", {}, 3.0);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    ASSERT_EQ (rendered.getNumSamples(), (int) (3.1 * sampleRate));
    ASSERT_TRUE (isFinite (rendered));

    // Audible: from 2 s to 2.5 s after a full-scale impulse the tail is above -80 dBFS (RMS),
    // well clear of 16-bit quantisation (-96 dBFS); and it decays rather than grows.
    constexpr double audibleRms = 1.0e-4;
    const auto early = windowRms (rendered, 0.5, 1.0);
    const auto late = windowRms (rendered, 2.0, 2.5);
    std::cout << "impulse tail: rms " << early << " (0.5-1 s), " << late << " (2-2.5 s)" << std::endl;
    EXPECT_GT (late, audibleRms);
    EXPECT_LT (late, early);
}

TEST (HostedPlugin, DryOnlyRendersTheInputTimesTwo)
{
    juce::AudioBuffer<float> audio (2, 12000);
    juce::Random random (7);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            audio.setSample (ch, i, 0.5f * (random.nextFloat() - 0.5f));

    const auto rendered = renderThrough (audio, "dry", { { "dry", "0" }, { "wetEnabled", "Bypassed" } }, 0.0);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    ASSERT_EQ (rendered.getNumSamples(), audio.getNumSamples());

    // The wet signal fades out over the first 10 ms; from then on only the dry path sounds,
    // times the fixed output gain of 2.
    const auto rampEnd = (int) (0.01 * sampleRate);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = rampEnd; i < audio.getNumSamples(); ++i)
            ASSERT_EQ (rendered.getSample (ch, i), 2.0f * audio.getSample (ch, i)) << ch << ":" << i;
}

TEST (HostedPlugin, TheDemoShimmersUpwardsWithoutClipping)
{
    // The demo's input and settings: an octave and two octaves up, long feedback.
    const auto input = DemoInput::generate (sampleRate);
    const auto inputSeconds = (double) input.getNumSamples() / sampleRate;
    const auto rendered = renderThrough (input, "demo", { { "pitchNote1", "+1 Oct." }, { "pitchNote2", "+2 Oct." }, { "feedback", "70" } }, 8.0);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    ASSERT_TRUE (isFinite (rendered));

    const auto level = windowRms (rendered, 0.0, inputSeconds);
    const auto peak = peakLevel (rendered);
    // The chords stop at 4.8 s; from then on the output is the tail alone.
    const auto earlyCentroid = spectralCentroid (rendered, 5.0, 6.0);
    const auto lateCentroid = spectralCentroid (rendered, 8.0, 9.0);
    const auto lateLevel = windowRms (rendered, 8.0, 9.0);
    std::cout << "demo: rms " << level << ", peak " << peak << ", tail centroid " << earlyCentroid
              << " Hz (5-6 s) -> " << lateCentroid << " Hz (8-9 s), tail rms " << lateLevel << std::endl;

    EXPECT_GT (level, 0.01); // clearly audible
    EXPECT_LT (peak, 1.0); // no sample at or above full scale
    EXPECT_GT (lateLevel, 1.0e-3);
    // The octave cascade brightens the tail: measured about 3.6 kHz at 5-6 s and 4.2 kHz at
    // 8-9 s (the grain jitter is random, so runs differ by a few per cent).
    constexpr double risingCentroid = 1.08;
    EXPECT_GT (lateCentroid, earlyCentroid * risingCentroid);
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
