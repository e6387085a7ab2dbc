// Feeds arbitrary bytes to the preset manager as a preset file: nothing may crash, and
// every parameter must stay finite and inside its range.

#include "OrynAudioProcessor.h"

#include <cstdlib>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
struct PresetFuzzEnvironment
{
    PresetFuzzEnvironment()
    {
        // The processor creates its folders: keep them in a throwaway place.
        root = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oryn-preset-fuzz", {}, false);
        for (const char* variable : { "HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME" })
        {
            const auto folder = root.getChildFile (variable);
            (void) folder.createDirectory();
            ::setenv (variable, folder.getFullPathName().toRawUTF8(), 1);
        }
    }

    juce::File root;
    juce::ScopedJuceInitialiser_GUI juce;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // Never destroyed: at exit the framework's shutdown list may already be gone.
    static auto* environment = new PresetFuzzEnvironment();
    static auto* processor = new OrynAudioProcessor();
    static const auto file = environment->root.getChildFile ("Fuzz.mvpreset");

    if (! file.replaceWithData (data, size))
        return 0;

    processor->getPresetsManager().loadPreset (file);

    for (auto* p : processor->getParameters())
    {
        const auto value = p->getValue();
        if (! std::isfinite (value) || value < 0.0f || value > 1.0f)
            std::abort();
    }

    return 0;
}
