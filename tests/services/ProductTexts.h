#pragma once

namespace oryn::test
{
/** Every text the product shows through the translation lookup: the version label, the
    preset menu, the main panel's captions, tooltips and state texts, the update notice. */
inline constexpr const char* productTexts[]{
    "version",

    "Save",
    "Save as",
    "Init",
    "Show presets location",
    "User Presets",
    "Morvak Presets",
    "Designer Presets",

    "Pre-Delay",
    "Feedback",
    "Shift I",
    "Shift II",
    "Shift III",
    "Size",
    "Diffusion",
    "Width",
    "Mod",
    "Low Cut",
    "High Cut",
    "Dry",
    "Wet",

    "Pre-delay",
    "Adjusts the feedback gain",
    "Adjusts the pitch shift amount - **drag** verticaly or **click** for a menu",
    "Adjusts the freq shift amount - **drag** verticaly or **click** to edit the value",
    "Output level of the pitch shifter",
    "Output level of the freq shifter",
    "Perceived size of the reverberation space",
    "Granular/diffused aspect of the reverberation",
    "Stereo Width",
    "Modulation",
    "Filter out the low frequencies",
    "Filter out the high frequencies",
    "Amount of dry signal in the output mix",
    "Amount of wet signal in the output mix",
    "Click to lock and unlock the dry and wet faders",

    "Enable or disable the dry signal",
    "Enable or disable the wet signal",
    "Synced Time",
    "Free Time",
    "Freeze !",
    "Unfreeze",
    "Reverse Disabled",
    "Reverse Enabled",

    "An update is available",
    "proceed to download page",
    "close",
};
} // namespace oryn::test
