// oryn-host: a small command-line VST3 host for the Oryn bundle.

#include "DemoInput.h"
#include "OfflineRenderer.h"
#include "PluginInfo.h"
#include "PluginLoader.h"

#include <iostream>

namespace
{
constexpr double infoSampleRate = 48000.0;
constexpr int infoBlockSize = 512;

const char* usage =
    "usage:\n"
    "  oryn-host info [--plugin BUNDLE]\n"
    "  oryn-host render IN.wav OUT.wav [--plugin BUNDLE] [--set ID=VALUE ...] [--state FILE]\n"
    "                   [--preset FILE] [--block N] [--tail SECONDS] [--bpm BPM]\n"
    "  oryn-host demo-input OUT.wav\n"
    "BUNDLE defaults to ~/.vst3/Oryn.vst3; VALUE is the parameter's display text.\n";

int fail (const juce::String& message)
{
    std::cerr << "oryn-host: " << message << std::endl;
    return 1;
}

juce::File fileArgument (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

int runInfo (const juce::File& bundle)
{
    juce::PluginDescription description;
    juce::String error;
    if (! PluginLoader::describe (bundle, description, error))
        return fail (error);

    auto instance = PluginLoader::load (bundle, infoSampleRate, infoBlockSize, error);
    if (instance == nullptr)
        return fail (error);

    std::cout << PluginInfo::describe (description, *instance) << std::flush;
    return 0;
}

int runRender (const juce::StringArray& args, juce::File bundle)
{
    OfflineRenderer::Options options;
    options.bundle = bundle;
    juce::StringArray positional;

    for (int i = 0; i < args.size(); ++i)
    {
        const auto& arg = args[i];
        const bool hasValue = i + 1 < args.size();

        if (arg == "--set" && hasValue)
        {
            const auto setting = args[++i];
            if (! setting.contains ("="))
                return fail ("--set takes ID=VALUE, not " + setting);
            options.settings.emplace_back (setting.upToFirstOccurrenceOf ("=", false, false).trim(),
                                           setting.fromFirstOccurrenceOf ("=", false, false).trim());
        }
        else if (arg == "--state" && hasValue)
            options.stateFile = fileArgument (args[++i]);
        else if (arg == "--preset" && hasValue)
            options.presetFile = fileArgument (args[++i]);
        else if (arg == "--block" && hasValue)
            options.blockSize = args[++i].getIntValue();
        else if (arg == "--tail" && hasValue)
            options.tailSeconds = args[++i].getDoubleValue();
        else if (arg == "--bpm" && hasValue)
            options.bpm = args[++i].getDoubleValue();
        else if (arg.startsWith ("--"))
            return fail ("unknown or incomplete option " + arg + "\n" + usage);
        else
            positional.add (arg);
    }

    if (positional.size() != 2)
        return fail (juce::String ("render needs an input and an output file\n") + usage);

    if (options.blockSize < 1 || options.blockSize > OfflineRenderer::maximumBlockSize)
        return fail ("--block must be between 1 and " + juce::String (OfflineRenderer::maximumBlockSize));
    if (options.bpm <= 0.0)
        return fail ("--bpm must be positive");

    options.input = fileArgument (positional[0]);
    options.output = fileArgument (positional[1]);
    options.progress = [] (double done)
    { std::cerr << "\rrendering " << juce::roundToInt (done * 100.0) << " %" << (done >= 1.0 ? "\n" : "") << std::flush; };

    juce::String error;
    if (! OfflineRenderer::render (options, error))
        return fail (error);

    std::cout << "wrote " << options.output.getFullPathName() << std::endl;
    return 0;
}

int run (juce::StringArray args)
{
    auto bundle = PluginLoader::defaultBundle();
    const auto pluginIndex = args.indexOf ("--plugin");
    if (pluginIndex >= 0)
    {
        if (pluginIndex + 1 >= args.size())
            return fail ("--plugin needs a bundle path");
        bundle = fileArgument (args[pluginIndex + 1]);
        args.removeRange (pluginIndex, 2);
    }

    if (args.isEmpty())
    {
        std::cerr << usage;
        return 2;
    }

    const auto command = args[0];
    args.remove (0);

    if (command == "info")
        return args.isEmpty() ? runInfo (bundle) : fail (juce::String ("info takes no arguments\n") + usage);

    if (command == "render")
        return runRender (args, bundle);

    if (command == "demo-input")
    {
        if (args.size() != 1)
            return fail (juce::String ("demo-input needs an output file\n") + usage);
        juce::String error;
        const auto file = fileArgument (args[0]);
        if (! DemoInput::write (file, DemoInput::defaultSampleRate, error))
            return fail (error);
        std::cout << "wrote " << file.getFullPathName() << std::endl;
        return 0;
    }

    return fail ("unknown command " + command + "\n" + usage);
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceSystem;
        result = run (args);
    }
    return result;
}
