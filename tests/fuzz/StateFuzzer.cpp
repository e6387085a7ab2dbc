// Feeds arbitrary bytes to the host-state loader: nothing may crash, read out of bounds or
// leave a non-finite parameter value.

#include "OrynAudioProcessor.h"

#include <cstdlib>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
struct FuzzEnvironment
{
    FuzzEnvironment()
    {
        // The processor creates its folders: keep them in a throwaway place.
        const auto root = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oryn-fuzz", {}, false);
        for (const char* variable : { "HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME" })
        {
            const auto folder = root.getChildFile (variable);
            (void) folder.createDirectory();
            ::setenv (variable, folder.getFullPathName().toRawUTF8(), 1);
        }
    }

    juce::ScopedJuceInitialiser_GUI juce;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // Never destroyed: static destruction order against JUCE's own singletons is undefined.
    static auto* environment = new FuzzEnvironment();
    static auto* processor = new OrynAudioProcessor();
    juce::ignoreUnused (environment);

    processor->setStateInformation (data, (int) juce::jmin (size, (size_t) std::numeric_limits<int>::max()));

    for (auto* p : processor->getParameters())
        if (! std::isfinite (p->getValue()))
            std::abort();

    return 0;
}
