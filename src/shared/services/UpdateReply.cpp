#include "UpdateReply.h"

namespace mv::pluginCore
{
namespace
{
    constexpr const char* fieldSeparator = ";";
    constexpr const char* quote = "\"";
    constexpr const char* keySeparator = ":";

    juce::String withoutEnclosingQuotes (const juce::String& field)
    {
        if (field.length() >= 2 && field.startsWith (quote) && field.endsWith (quote))
            return field.substring (1, field.length() - 1);

        return field;
    }
} // namespace

UpdateReply UpdateReply::fromVersionReply (const juce::String& body)
{
    juce::String versionText ("0.0.0"), releaseDateText ("0");

    for (const auto& token : juce::StringArray::fromTokens (body, fieldSeparator, quote))
    {
        const auto field = withoutEnclosingQuotes (token);
        if (! field.contains (keySeparator))
            continue;

        const auto key = field.upToFirstOccurrenceOf (keySeparator, false, false);
        const auto value = field.fromFirstOccurrenceOf (keySeparator, false, false);

        // A key given twice: the later field wins.
        if (key.equalsIgnoreCase (versionKey))
            versionText = value;
        else if (key.equalsIgnoreCase (releaseDateKey))
            releaseDateText = value;
    }

    UpdateReply reply;
    reply.version = UpdateVersion::fromText (versionText);
    reply.releaseDate = UpdateVersion::parseNumber (releaseDateText, 0, latestReleaseDate);
    return reply;
}

juce::String UpdateReply::changeLogFromBody (const juce::String& body)
{
    return body.contains (missingPageText) ? juce::String() : body;
}

juce::String UpdateReply::decodeBody (const void* data, size_t numBytes)
{
    if (data == nullptr || numBytes == 0)
        return {};

    // Text ends at the first NUL; what follows it is never looked at.
    const auto* text = static_cast<const char*> (data);
    const auto bytes = juce::jmin (numBytes, (size_t) std::numeric_limits<int>::max());
    const auto length = (int) (std::find (text, text + bytes, '\0') - text);

    if (juce::CharPointer_UTF8::isValidString (text, length))
        return juce::String::fromUTF8 (text, length);

    juce::String result;
    result.preallocateBytes ((size_t) length * 2);

    for (int i = 0; i < length; ++i)
        result += juce::String::charToString ((juce::juce_wchar) (juce::uint8) text[i]);

    return result;
}
} // namespace mv::pluginCore
