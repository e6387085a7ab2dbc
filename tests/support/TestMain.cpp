#include "TestFolders.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

int main (int argc, char** argv)
{
    // Before anything asks for a folder: no test may touch the real user folders.
    oryn::test::TestFolders::redirectUserFolders();

    testing::InitGoogleTest (&argc, argv);

    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }

    (void) oryn::test::TestFolders::root().deleteRecursively();
    return result;
}
