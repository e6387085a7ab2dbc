#include "TestFolders.h"

#include <cstdlib>
#include <unistd.h>

namespace oryn::test
{
namespace
{
    juce::File& rootFolder()
    {
        static juce::File folder;
        return folder;
    }

    void setVariable (const char* name, const juce::File& folder)
    {
        (void) folder.createDirectory();
        ::setenv (name, folder.getFullPathName().toRawUTF8(), 1);
    }
} // namespace

void TestFolders::redirectUserFolders()
{
    auto temp = juce::File::getSpecialLocation (juce::File::tempDirectory);
    // The process ID keeps parallel test processes apart.
    rootFolder() = temp.getNonexistentChildFile ("oryn-tests-" + juce::String ((int) ::getpid()), {}, false);
    (void) rootFolder().createDirectory();

    setVariable ("HOME", home());
    setVariable ("XDG_DATA_HOME", dataHome());
    setVariable ("XDG_DATA_DIRS", commonData());
    setVariable ("XDG_CONFIG_HOME", configHome());
}

juce::File TestFolders::root()
{
    return rootFolder();
}

void TestFolders::clear()
{
    for (const auto& folder : { home(), dataHome(), commonData(), configHome() })
    {
        (void) folder.deleteRecursively();
        (void) folder.createDirectory();
    }
}
} // namespace oryn::test
