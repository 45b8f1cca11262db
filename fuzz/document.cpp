// Loads arbitrary bytes as a study file. A load either succeeds and stores the same bytes
// back, or fails and leaves the study exactly as it was.

#include "config/ArchiveError.h"
#include "config/CArchive.h"
#include "document/StudyDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
std::vector<std::uint8_t> stored(StudyDocument& document)
{
    CArchive archive;
    document.Serialize(archive);
    return archive.buffer();
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static StudyDocument document;
    const std::vector<std::uint8_t> before = stored(document);
    const std::vector<std::uint8_t> bytes(data, data + size);
    CArchive archive(bytes);
    try
    {
        document.Serialize(archive);
    }
    catch (const ArchiveError&)
    {
        if (stored(document) != before)
            std::abort();
        return 0;
    }
    // Whatever was read is written back the same way, except that directions other than 0
    // load as true and are written as 1.
    CArchive again(stored(document));
    StudyDocument copy;
    copy.Serialize(again);
    if (stored(copy) != stored(document))
        std::abort();
    document.newDocument();
    return 0;
}
