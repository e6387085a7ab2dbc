#include "TestFolders.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

int main (int argc, char** argv)
{
    // The hosted plug-in creates its folders too: keep it away from the real ones.
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
