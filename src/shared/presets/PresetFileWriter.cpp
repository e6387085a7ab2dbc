#include "PresetFileWriter.h"

namespace mv::pluginCore
{
bool PresetFileWriter::write (const juce::XmlElement& state, const juce::File& target)
{
    if (target == juce::File() || target.isDirectory())
        return false;

    // Hidden, so that a listing made meanwhile never shows the temporary file.
    juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);

    {
        juce::FileOutputStream out (temporary.getFile());
        if (! out.openedOk())
            return false;

        state.writeTo (out, juce::XmlElement::TextFormat());
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
}

juce::String PresetFileWriter::toText (const juce::XmlElement& state)
{
    return state.toString (juce::XmlElement::TextFormat());
}
} // namespace mv::pluginCore
