#include "DemoInput.h"

namespace
{
constexpr double chordSeconds = 1.2;
constexpr double silenceSeconds = 3.0;
constexpr double strumSeconds = 0.018; // between strings of one chord
constexpr float stringDamping = 0.996f; // per-period loss of the plucked string
constexpr float peakLevel = 0.5f; // -6 dBFS
constexpr int writeBitDepth = 24;
constexpr juce::int64 noiseSeed = 20261211;
constexpr double a4Hertz = 440.0;
constexpr int a4Note = 69;

// C, A minor, F, G: MIDI notes of each strummed chord.
const std::vector<std::vector<int>> chords{
    { 48, 55, 60, 64, 67 },
    { 45, 52, 57, 60, 64 },
    { 41, 48, 53, 57, 60 },
    { 43, 50, 55, 59, 62 },
};

/** A Karplus-Strong string: a noise burst circulating in a damped delay loop. */
void pluck (juce::AudioBuffer<float>& out, int start, int stop, double sampleRate, int note, float pan, juce::Random& random)
{
    const auto hertz = a4Hertz * std::pow (2.0, (note - a4Note) / 12.0);
    const auto period = juce::jmax (2, (int) std::round (sampleRate / hertz));
    std::vector<float> loop ((size_t) period);
    for (auto& s : loop)
        s = random.nextFloat() * 2.0f - 1.0f;

    // The string is damped by the player's hand over the last eighth of its time.
    const auto length = stop - start;
    const auto fadeStart = length - length / 8;
    const auto leftGain = std::cos (pan * juce::MathConstants<float>::halfPi);
    const auto rightGain = std::sin (pan * juce::MathConstants<float>::halfPi);

    size_t index = 0;
    for (int i = 0; i < length; ++i)
    {
        const auto next = (index + 1) % loop.size();
        const auto fade = i < fadeStart ? 1.0f : (float) (length - i) / (float) (length - fadeStart);
        const auto value = loop[index] * fade;
        loop[index] = stringDamping * 0.5f * (loop[index] + loop[next]);
        index = next;

        out.addSample (0, start + i, value * leftGain);
        out.addSample (1, start + i, value * rightGain);
    }
}
} // namespace

juce::AudioBuffer<float> DemoInput::generate (double sampleRate)
{
    const auto chordLength = (int) (chordSeconds * sampleRate);
    const auto total = chordLength * (int) chords.size() + (int) (silenceSeconds * sampleRate);

    juce::AudioBuffer<float> out (2, total);
    out.clear();
    juce::Random random (noiseSeed);

    for (size_t c = 0; c < chords.size(); ++c)
    {
        const auto& notes = chords[c];
        for (size_t n = 0; n < notes.size(); ++n)
        {
            const auto start = (int) c * chordLength + (int) ((double) n * strumSeconds * sampleRate);
            const auto stop = (int) (c + 1) * chordLength; // damped when the next chord starts
            const auto pan = 0.25f + 0.5f * (float) n / (float) (notes.size() - 1);
            pluck (out, start, stop, sampleRate, notes[n], pan, random);
        }
    }

    const auto peak = out.getMagnitude (0, total);
    if (peak > 0.0f)
        out.applyGain (peakLevel / peak);

    return out;
}

bool DemoInput::write (const juce::File& file, double sampleRate, juce::String& error)
{
    const auto audio = generate (sampleRate);

    (void) file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    if (! stream->openedOk())
    {
        error = "cannot write " + file.getFullPathName();
        return false;
    }

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate, 2, writeBitDepth, {}, 0));
    if (writer == nullptr)
    {
        error = "cannot write a WAV file";
        return false;
    }
    (void) stream.release();

    return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}
