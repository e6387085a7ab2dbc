#include "OfflineRenderer.h"

#include "HostedState.h"
#include "OrynParamIDs.h"
#include "PluginLoader.h"

namespace
{
constexpr int outputChannels = 2;
constexpr int outputBitDepth = 32;
constexpr int beatsPerBar = 4;
constexpr double secondsPerMinute = 60.0;
constexpr int progressSteps = 20;

/** Transport of an offline render: playing from zero, steady tempo, 4/4. */
class OfflinePlayHead : public juce::AudioPlayHead
{
public:
    OfflinePlayHead (double sampleRateIn, double bpmIn) : sampleRate (sampleRateIn), bpm (bpmIn) {}

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (bpm);
        info.setTimeSignature (TimeSignature{ beatsPerBar, beatsPerBar });
        info.setTimeInSamples (position);
        info.setTimeInSeconds ((double) position / sampleRate);
        info.setPpqPosition ((double) position / sampleRate * bpm / secondsPerMinute);
        info.setIsPlaying (true);
        return info;
    }

    juce::int64 position = 0;

private:
    double sampleRate, bpm;
};

void applyChunk (juce::AudioPluginInstance& instance, const juce::MemoryBlock& chunk)
{
    const auto wrapped = HostedState::wrapPluginChunk (chunk);
    instance.setStateInformation (wrapped.getData(), (int) wrapped.getSize());
}
} // namespace

juce::AudioProcessorParameter* OfflineRenderer::findParameter (juce::AudioPluginInstance& instance, const juce::String& idOrName)
{
    const auto& parameters = instance.getParameters();

    for (int i = 0; i < OrynParamIDs::numParameters && i < parameters.size(); ++i)
        if (idOrName == OrynParamIDs::all[i])
            return parameters[i];

    for (auto* p : parameters)
        if (p->getName (256).equalsIgnoreCase (idOrName))
            return p;

    return nullptr;
}

bool OfflineRenderer::applySetting (juce::AudioPluginInstance& instance, const juce::String& idOrName, const juce::String& value, juce::String& error)
{
    auto* parameter = findParameter (instance, idOrName);
    if (parameter == nullptr)
    {
        error = "unknown parameter: " + idOrName;
        return false;
    }

    float normalised = parameter->getValueForText (value);

    if (parameter->isBoolean())
    {
        const auto lower = value.trim().toLowerCase();
        if (lower == "1" || lower == "true" || lower == "on")
            normalised = 1.0f;
        else if (lower == "0" || lower == "false" || lower == "off")
            normalised = 0.0f;
    }

    parameter->setValue (juce::jlimit (0.0f, 1.0f, normalised));
    return true;
}

bool OfflineRenderer::render (const Options& options, juce::String& error)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();

    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (options.input));
    if (reader == nullptr)
    {
        error = "cannot read audio file " + options.input.getFullPathName();
        return false;
    }

    const auto inputChannels = (int) reader->numChannels;
    if (inputChannels < 1 || inputChannels > 2)
    {
        error = "only mono or stereo input is supported (" + options.input.getFileName() + " has " + juce::String (inputChannels) + " channels)";
        return false;
    }

    const auto blockSize = juce::jlimit (1, maximumBlockSize, options.blockSize);
    const auto sampleRate = reader->sampleRate;

    auto instance = PluginLoader::load (options.bundle, sampleRate, blockSize, error);
    if (instance == nullptr)
        return false;

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (inputChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo());
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    if (! instance->setBusesLayout (layout))
    {
        error = "the plug-in refuses " + juce::String (inputChannels == 1 ? "mono" : "stereo") + " input with stereo output";
        return false;
    }

    if (options.stateFile != juce::File())
    {
        juce::MemoryBlock chunk;
        if (! options.stateFile.loadFileAsData (chunk))
        {
            error = "cannot read state file " + options.stateFile.getFullPathName();
            return false;
        }
        applyChunk (*instance, chunk);
    }

    if (options.presetFile != juce::File())
    {
        const auto xml = juce::parseXML (options.presetFile);
        if (xml == nullptr)
        {
            error = "cannot read preset file " + options.presetFile.getFullPathName();
            return false;
        }
        applyChunk (*instance, HostedState::chunkFromXml (*xml));
    }

    for (const auto& [id, value] : options.settings)
        if (! applySetting (*instance, id, value, error))
            return false;

    (void) options.output.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream> (options.output);
    if (! stream->openedOk())
    {
        error = "cannot write " + options.output.getFullPathName();
        return false;
    }

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate, outputChannels, outputBitDepth, {}, 0));
    if (writer == nullptr)
    {
        error = "cannot write a WAV file at " + juce::String (sampleRate) + " Hz";
        return false;
    }
    (void) stream.release(); // the writer owns it now

    OfflinePlayHead playHead (sampleRate, options.bpm);
    instance->setPlayHead (&playHead);
    instance->setNonRealtime (true);
    instance->prepareToPlay (sampleRate, blockSize);

    const auto inputLength = reader->lengthInSamples;
    const auto tailLength = (juce::int64) (juce::jlimit (0.0, maximumTailSeconds, options.tailSeconds) * sampleRate);
    const auto totalLength = inputLength + tailLength;
    const bool reportProgress = options.progress != nullptr && (double) totalLength > progressAfterSeconds * sampleRate;
    int progressShown = 0;

    juce::AudioBuffer<float> fileBlock (inputChannels, blockSize);
    juce::AudioBuffer<float> buffer (juce::jmax (outputChannels, instance->getTotalNumInputChannels()), blockSize);
    juce::MidiBuffer midi;

    for (juce::int64 done = 0; done < totalLength;)
    {
        const auto n = (int) juce::jmin ((juce::int64) blockSize, totalLength - done);
        buffer.setSize (buffer.getNumChannels(), n, false, false, true);
        buffer.clear();

        if (done < inputLength)
        {
            const auto fromFile = (int) juce::jmin ((juce::int64) n, inputLength - done);
            fileBlock.setSize (inputChannels, fromFile, false, false, true);
            reader->read (&fileBlock, 0, fromFile, done, true, inputChannels > 1);
            for (int ch = 0; ch < inputChannels; ++ch)
                buffer.copyFrom (ch, 0, fileBlock, ch, 0, fromFile);
        }

        midi.clear();
        instance->processBlock (buffer, midi);
        writer->writeFromAudioSampleBuffer (buffer, 0, n);

        done += n;
        playHead.position = done;

        if (reportProgress)
        {
            const auto step = (int) (done * progressSteps / totalLength);
            if (step > progressShown)
            {
                progressShown = step;
                options.progress ((double) done / (double) totalLength);
            }
        }
    }

    instance->releaseResources();
    instance->setPlayHead (nullptr);
    return true;
}
