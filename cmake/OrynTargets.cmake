# Common settings for every target of the project.

# JUCE configuration shared by the plug-in, the tools and the tests. Debian's JUCE links
# no codec libraries, so the codecs it would need stay off.
add_library(oryn_juce_config INTERFACE)
target_compile_definitions(oryn_juce_config INTERFACE
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0
    JUCE_USE_MP3AUDIOFORMAT=0
    JUCE_WEB_BROWSER=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_VST3_CAN_REPLACE_VST2=0
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    JUCE_SILENCE_XCODE_15_LINKER_WARNING=1)

# Warnings as errors on the project's own code only.
add_library(oryn_warnings INTERFACE)
target_link_libraries(oryn_warnings INTERFACE juce::juce_recommended_warning_flags)
set(ORYN_EXTRA_WARNING_OPTIONS -Werror $<$<CXX_COMPILER_ID:GNU>:-Wno-dangling-pointer>)
target_compile_options(oryn_warnings INTERFACE ${ORYN_EXTRA_WARNING_OPTIONS})

# For targets that also compile JUCE's module sources (the plug-in): the warnings go on the
# project's own files only.
function(oryn_warnings_on_sources)
    get_target_property(juceWarnings juce::juce_recommended_warning_flags INTERFACE_COMPILE_OPTIONS)
    set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "${juceWarnings};${ORYN_EXTRA_WARNING_OPTIONS}")
endfunction()

# A static library holding one compiled copy of a set of JUCE modules, for the console
# programs and tests that don't link the plug-in. Consumers get the include paths and
# definitions but not the module sources again.
function(oryn_add_juce_library name)
    cmake_parse_arguments(ARG "" "" "MODULES;DEFINITIONS" ${ARGN})
    add_library(${name} STATIC)
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_link_libraries(${name}
        PRIVATE ${ARG_MODULES}
        PUBLIC oryn_juce_config juce::juce_recommended_config_flags)
    target_compile_definitions(${name} PUBLIC JUCE_STANDALONE_APPLICATION=1 ${ARG_DEFINITIONS})
    target_compile_definitions(${name} INTERFACE $<TARGET_PROPERTY:${name},COMPILE_DEFINITIONS>)
    target_include_directories(${name} INTERFACE $<TARGET_PROPERTY:${name},INCLUDE_DIRECTORIES>)
endfunction()

# The audio-only modules: what the engine and its tests use.
# No network here, so JUCE's curl client (on by default on Linux) stays out.
oryn_add_juce_library(oryn_juce_audio
    MODULES juce::juce_core juce::juce_audio_basics juce::juce_audio_formats juce::juce_dsp
    DEFINITIONS JUCE_USE_CURL=0)

# Code that only includes JUCE headers and leaves the module objects to whoever links it
# (the plug-in compiles its own copy, console programs link oryn_juce_audio).
add_library(oryn_juce_headers INTERFACE)
target_include_directories(oryn_juce_headers INTERFACE "${JUCE_MODULES_DIR}")
target_compile_definitions(oryn_juce_headers INTERFACE
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_MODULE_AVAILABLE_juce_core=1
    JUCE_MODULE_AVAILABLE_juce_audio_basics=1
    JUCE_MODULE_AVAILABLE_juce_audio_formats=1
    JUCE_MODULE_AVAILABLE_juce_dsp=1)
target_link_libraries(oryn_juce_headers INTERFACE oryn_juce_config juce::juce_recommended_config_flags)
