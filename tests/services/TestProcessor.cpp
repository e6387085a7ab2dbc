#include "TestProcessor.h"

#include "TestFolders.h"

namespace oryn::test
{
namespace
{
    mv::pluginCore::PresetLocations makeLocations()
    {
        const auto base = TestFolders::dataHome().getChildFile ("services-presets");
        mv::pluginCore::PresetLocations locations;
        locations.factoryFolder = base.getChildFile ("factory");
        locations.userFolder = base.getChildFile ("user");
        locations.designerFolder = base.getChildFile ("designer");
        locations.initPresetFile = locations.factoryFolder.getChildFile ("Init.mvpreset");
        locations.extension = ".mvpreset";
        return locations;
    }
} // namespace

TestProcessor::TestProcessor()
    : PluginProcessor ({}, makeLocations())
{
}
} // namespace oryn::test
