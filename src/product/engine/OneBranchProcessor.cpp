#include "OneBranchProcessor.h"

#include "FastTanh.h"

OneBranchProcessor::OneBranchProcessor()
    : saturationGain (1.0f / compressor.getThresholdGain())
{
    // The output tank only diffuses: its loop stays open.
    outputTank.setFeedbackTarget (0.0f);
}

void OneBranchProcessor::prepare (int maximumBlockSize, double sampleRate)
{
    juce::ignoreUnused (maximumBlockSize);

    loopFeedback.reset (sampleRate, smoothingSeconds);
    blend.reset (sampleRate, smoothingSeconds);
    compressor.prepare (sampleRate);

    loopLowPassLeft.setLowPass (sampleRate, loopLowPassHz, loopInverseQ);
    loopLowPassRight.setLowPass (sampleRate, loopLowPassHz, loopInverseQ);
    loopHighPassLeft.setHighPass (sampleRate, loopHighPassHz, loopInverseQ);
    loopHighPassRight.setHighPass (sampleRate, loopHighPassHz, loopInverseQ);

    outputTank.prepare (sampleRate);
}

void OneBranchProcessor::reset()
{
    compressor.reset();
    loopHighPassLeft.reset();
    loopHighPassRight.reset();
    loopLowPassLeft.reset();
    loopLowPassRight.reset();
    outputTank.reset();
    loopLeft = 0.0f;
    loopRight = 0.0f;
}

void OneBranchProcessor::setWidth (float width)
{
    outputTank.setWidthTarget (width);
}

void OneBranchProcessor::processOneSample (float& left, float& right) noexcept
{
    const auto w = loopFeedback.getNextValue();
    left = (left + w * loopLeft) / (w + 1.0f);
    right = (right + w * loopRight) / (w + 1.0f);

    loopLeft = left;
    loopRight = right;
    processSample (loopLeft, loopRight);

    const auto d = blend.getNextValue();
    left = (1.0f - d) * left + d * loopLeft;
    right = (1.0f - d) * right + d * loopRight;
    outputTank.processSample (left, right);

    compressor.processSample (loopLeft, loopRight);
    loopLeft = FastTanh::process (loopLeft) * saturationGain;
    loopRight = FastTanh::process (loopRight) * saturationGain;
    loopLeft = loopLowPassLeft.processSample (loopHighPassLeft.processSample (loopLeft));
    loopRight = loopLowPassRight.processSample (loopHighPassRight.processSample (loopRight));
}

void OneBranchProcessor::process (juce::AudioBuffer<float>& buffer) noexcept
{
    const auto numSamples = buffer.getNumSamples();

    if (buffer.getNumChannels() <= 0 || numSamples <= 0)
        return;

    auto* left = buffer.getWritePointer (0);
    // A mono buffer runs the loop with both sides equal and keeps the left result.
    auto* right = buffer.getNumChannels() > 1 ? buffer.getWritePointer (1) : nullptr;

    for (int i = 0; i < numSamples; ++i)
    {
        auto l = left[i];
        auto r = right != nullptr ? right[i] : l;
        processOneSample (l, r);
        left[i] = l;

        if (right != nullptr)
            right[i] = r;
    }
}
