#pragma once

#include <juce_core/juce_core.h>

namespace oryn::test
{
/** The temporary folder that HOME and the XDG variables point at during a test run. */
struct TestFolders
{
    /** Creates a fresh folder and points HOME, XDG_DATA_HOME, XDG_DATA_DIRS and
        XDG_CONFIG_HOME below it; the real user folders are never touched. */
    static void redirectUserFolders();

    static juce::File root();
    static juce::File home() { return root().getChildFile ("home"); }
    static juce::File dataHome() { return root().getChildFile ("data-home"); }
    static juce::File commonData() { return root().getChildFile ("common-data"); }
    static juce::File configHome() { return root().getChildFile ("config-home"); }

    /** Deletes everything below the four folders, keeping the folders. */
    static void clear();
};
} // namespace oryn::test
