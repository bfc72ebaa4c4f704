// KMZ archives over arbitrary bytes: the zip directory reader and the inflater must stay inside
// the archive and the size limit whatever they are given, give a document only whole, and the
// prolog check must take whatever comes out.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kml/KmzArchive.h"
#include "kml/XmlProlog.h"

namespace {
// A crafted size asks for no more than this, so the fuzzer's memory is not the limit tried.
constexpr size_t kLimit = size_t(1) << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view archive(reinterpret_cast<const char*>(data), size);
    std::string document = "not cleared";
    const KmzStatus status = ExtractKmlDocument(archive, document, kLimit);
    if (status == KmzStatus::Ok ? document.size() > kLimit : !document.empty())
        std::abort();
    CheckXmlProlog(document);
    CheckXmlProlog(archive);
    return 0;
}
