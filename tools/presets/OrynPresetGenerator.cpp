// Builds the factory preset library from FactoryPresetTable with the plug-in's own preset
// writer, so the files always match the current format.
//
//   oryn_make_presets OUTPUT_FOLDER           writes Init.mvpreset and the designed presets
//   oryn_make_presets --check LIBRARY_FOLDER  exit status 1 when a file is missing or differs

#include "FactoryPresetTable.h"
#include "OrynAudioProcessor.h"
#include "presets/PresetFileWriter.h"

#include <cstdlib>
#include <iostream>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
constexpr int exitOk = 0;
constexpr int exitDifferent = 1;
constexpr int exitUsage = 2;
constexpr int exitBadTable = 3;

/** The processor creates its preset folders and reads settings: keep that out of the
    caller's real folders. */
juce::File redirectDataFolders()
{
    auto scratch = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oryn-presets", {}, false);
    for (const auto* variable : { "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME" })
    {
        const auto folder = scratch.getChildFile (variable);
        (void) folder.createDirectory();
        ::setenv (variable, folder.getFullPathName().toRawUTF8(), 1);
    }
    return scratch;
}

void resetToDefaults (OrynAudioProcessor& processor)
{
    for (auto* p : processor.getParameters())
        p->setValueNotifyingHost (p->getDefaultValue());
}

bool apply (OrynAudioProcessor& processor, const FactoryPresetTable::Preset& preset)
{
    for (const auto& [id, value] : preset.values)
    {
        auto* parameter = processor.getParameterState().getParameter (id);
        if (parameter == nullptr || value < parameter->getNormalisableRange().start || value > parameter->getNormalisableRange().end)
        {
            std::cerr << preset.name << ": bad parameter " << id << " = " << value << "\n";
            return false;
        }
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }
    return true;
}

struct Output
{
    juce::File file;
    juce::String text;
    std::unique_ptr<juce::XmlElement> xml;
};

int run (const juce::File& folder, bool checkOnly)
{
    OrynAudioProcessor processor;
    std::vector<Output> outputs;

    resetToDefaults (processor);
    outputs.push_back ({ folder.getChildFile (juce::String ("Init") + OrynAudioProcessor::presetExtension), {}, processor.createStateXml (false) });

    for (const auto& preset : FactoryPresetTable::getPresets())
    {
        resetToDefaults (processor);
        if (! apply (processor, preset))
            return exitBadTable;

        const auto file = folder.getChildFile (preset.folder).getChildFile (juce::String (preset.name) + OrynAudioProcessor::presetExtension);
        outputs.push_back ({ file, {}, processor.createStateXml (false) });
    }

    int status = exitOk;

    for (auto& output : outputs)
    {
        output.text = mv::pluginCore::PresetFileWriter::toText (*output.xml);

        if (checkOnly)
        {
            if (! output.file.existsAsFile() || output.file.loadFileAsString() != output.text)
            {
                std::cerr << "out of date: " << output.file.getFullPathName() << "\n";
                status = exitDifferent;
            }
            continue;
        }

        (void) output.file.getParentDirectory().createDirectory();
        if (! mv::pluginCore::PresetFileWriter::write (*output.xml, output.file))
        {
            std::cerr << "cannot write " << output.file.getFullPathName() << "\n";
            status = exitDifferent;
        }
    }

    if (status == exitOk)
        std::cout << (checkOnly ? "up to date: " : "wrote ") << outputs.size() << " presets in " << folder.getFullPathName() << "\n";

    return status;
}
} // namespace

int main (int argc, char** argv)
{
    const bool checkOnly = argc == 3 && juce::String (argv[1]) == "--check";
    if (argc != 2 && ! checkOnly)
    {
        std::cerr << "usage: oryn_make_presets OUTPUT_FOLDER\n       oryn_make_presets --check LIBRARY_FOLDER\n";
        return exitUsage;
    }

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[argc - 1]);
    const auto scratch = redirectDataFolders();

    int status = exitOk;
    {
        const juce::ScopedJuceInitialiser_GUI juce;
        status = run (folder, checkOnly);
    }

    (void) scratch.deleteRecursively();
    return status;
}
