#pragma once

#include "OrynAudioProcessor.h"
#include "OrynParamIDs.h"
#include "TestFolders.h"
#include "presets/PresetsManager.h"

#include <gtest/gtest.h>

namespace oryn::test
{
/** Records manager notifications as "name:dirty1", "name:dirty0" and "name:loaded". */
struct RecordingListener : mv::pluginCore::PresetsManager::Listener
{
    RecordingListener (std::vector<std::string>& logToUse, std::string listenerName)
        : log (logToUse), name (std::move (listenerName)) {}

    void presetLoaded (mv::pluginCore::PresetsManager&, const juce::File& file) override
    {
        log.push_back (name + ":loaded");
        lastLoaded = file;
    }

    void presetDirtyChanged (mv::pluginCore::PresetsManager&, bool isDirty) override
    {
        log.push_back (name + (isDirty ? ":dirty1" : ":dirty0"));
    }

    std::vector<std::string>& log;
    std::string name;
    juce::File lastLoaded;
};

/** A fresh set of folders and a processor wired as the plug-in entry point wires it. */
class PresetTest : public ::testing::Test
{
protected:
    PresetTest()
    {
        TestFolders::clear();
        processor = makeProcessor();
    }

    static std::unique_ptr<OrynAudioProcessor> makeProcessor()
    {
        auto p = std::make_unique<OrynAudioProcessor>();
        p->attachParameterListeners();
        return p;
    }

    mv::pluginCore::PresetsManager& manager() { return processor->getPresetsManager(); }

    static juce::RangedAudioParameter& parameter (OrynAudioProcessor& p, const juce::String& id)
    {
        auto* param = p.getParameterState().getParameter (id);
        if (param == nullptr)
            throw std::runtime_error ("unknown parameter " + id.toStdString());
        return *param;
    }

    static float plainValue (OrynAudioProcessor& p, const juce::String& id)
    {
        auto& param = parameter (p, id);
        return param.convertFrom0to1 (param.getValue());
    }

    static void setPlainValue (OrynAudioProcessor& p, const juce::String& id, float value)
    {
        auto& param = parameter (p, id);
        param.setValueNotifyingHost (param.convertTo0to1 (value));
    }

    float plainValue (const juce::String& id) { return plainValue (*processor, id); }
    void setPlainValue (const juce::String& id, float value) { setPlainValue (*processor, id, value); }

    /** Writes text as a file below a folder, creating the folders on the way. */
    static juce::File writeText (const juce::File& file, const juce::String& text)
    {
        (void) file.getParentDirectory().createDirectory();
        (void) file.replaceWithText (text, false, false, "\r\n");
        return file;
    }

    /** A preset file with the given plain values; other parameters absent. */
    static juce::String presetText (const std::vector<std::pair<juce::String, juce::String>>& values, const juce::String& rootTag = "Oryn")
    {
        juce::String text ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<" + rootTag + " version=\"1.0.6\"><PARAMS>");
        for (const auto& [id, value] : values)
            text << "<PARAM id=\"" << id << "\" value=\"" << value << "\"/>";
        text << "</PARAMS></" << rootTag << ">";
        return text;
    }

    std::unique_ptr<OrynAudioProcessor> processor;
};
} // namespace oryn::test
