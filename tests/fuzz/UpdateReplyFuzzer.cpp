// Feeds arbitrary bytes to the update check's reply handling, as a hostile or broken server
// could send them.

#include "services/UpdateReply.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using mv::pluginCore::UpdateReply;
    using mv::pluginCore::UpdateVersion;

    const auto body = UpdateReply::decodeBody (data, size);
    const auto reply = UpdateReply::fromVersionReply (body);
    const auto& version = reply.version;

    const bool withinRules = reply.releaseDate >= 0 && reply.releaseDate <= UpdateReply::latestReleaseDate
                             && version.major >= 0 && version.minor >= 0 && version.patch >= 0
                             && version.beta >= 0 && version.beta <= UpdateVersion::releaseBetaNumber
                             && (version.beta == UpdateVersion::releaseBetaNumber) == ! version.isBeta
                             && version.getScore() >= 0;
    if (! withinRules)
        std::abort();

    (void) UpdateReply::changeLogFromBody (body);
    (void) UpdateVersion::fromText (body).getScore();
    return 0;
}
