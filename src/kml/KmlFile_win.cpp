#include "kml/KmlFile.h"

#include <windows.h>

#include <msxml2.h>
#include <objbase.h>
#include <oleauto.h>

#include <climits>
#include <cstring>
#include <memory>

#include "kml/XmlProlog.h"
#include "placement/PlacementFile.h"

namespace {

// MSXML 6's SAX reader. mingw declares the interfaces but ships no MSXML 6 class id and no
// import library with the interface ids; these are the values MSXML 6 registers and its
// interfaces carry.
constexpr CLSID kSaxReaderClass = {
    0x88d96a0c, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
constexpr IID kSaxReaderInterface = {
    0xa4f96ed0, 0xf829, 0x476e, {0x81, 0xc0, 0xcd, 0xc7, 0xbd, 0x2a, 0x08, 0x02}};
constexpr IID kContentHandlerInterface = {
    0x1545cdfa, 0x9e4e, 0x4497, {0xa8, 0xa4, 0x2b, 0xf7, 0xd0, 0x11, 0x2c, 0x44}};
constexpr IID kErrorHandlerInterface = {
    0xa60511c4, 0xccf5, 0x479e, {0x98, 0xa3, 0xdc, 0x8d, 0xc5, 0x45, 0xb7, 0xd0}};

// Character data is passed on in pieces of about this many UTF-16 units, so that a long text
// the collector does not keep is never held whole.
constexpr size_t kTextPiece = 1 << 16;

// The reader holds its handlers only while it lives; they live on the stack of the read, which
// releases the reader before they go. The counts are kept for the contract's sake.
template <typename Interface>
class StackObject : public Interface {
  public:
    explicit StackObject(const IID& iid) : m_iid(iid) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_iid)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

  private:
    const IID& m_iid;
    ULONG m_references = 1;
};

std::string WideToUtf8(const wchar_t* text, size_t length) {
    std::string utf8;
    if (length == 0 || length > size_t(INT_MAX) / 3)
        return utf8;
    utf8.resize(length * 3);
    const int written = ::WideCharToMultiByte(CP_UTF8, 0, text, int(length), utf8.data(),
                                              int(utf8.size()), nullptr, nullptr);
    utf8.resize(written > 0 ? size_t(written) : 0);
    return utf8;
}

// Names of KML's elements and namespaces are ASCII; anything else is none of them.
bool NarrowAscii(const wchar_t* text, int length, std::string& out) {
    out.clear();
    if (length < 0 || (length > 0 && !text))
        return false;
    out.reserve(size_t(length));
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 0x80)
            return false;
        out += char(text[i]);
    }
    return true;
}

class ContentHandler : public StackObject<ISAXContentHandler> {
  public:
    explicit ContentHandler(PlacemarkCollector& collector)
        : StackObject(kContentHandlerInterface), m_collector(collector) {}

    HRESULT STDMETHODCALLTYPE putDocumentLocator(ISAXLocator*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE startDocument() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE endDocument() override {
        PassText();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE startPrefixMapping(const wchar_t*, int, const wchar_t*,
                                                 int) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE endPrefixMapping(const wchar_t*, int) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE startElement(const wchar_t* uri, int uriLength,
                                           const wchar_t* localName, int localLength,
                                           const wchar_t*, int,
                                           ISAXAttributes* attributes) override {
        PassText();
        KmlElement element = KmlElement::Other;
        if (NarrowAscii(uri, uriLength, m_uri) && NarrowAscii(localName, localLength, m_name))
            element = PlacemarkCollector::Classify(m_uri, m_name);
        std::string id;
        const wchar_t* value = nullptr;
        int valueLength = 0;
        if (PlacemarkCollector::NeedsId(element) && attributes &&
            SUCCEEDED(attributes->getValueFromQName(L"id", 2, &value, &valueLength)) && value)
            id = WideToUtf8(value, size_t(valueLength));
        m_collector.StartElement(element, id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE endElement(const wchar_t*, int, const wchar_t*, int, const wchar_t*,
                                         int) override {
        PassText();
        m_collector.EndElement();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE characters(const wchar_t* text, int length) override {
        if (m_collector.WantsText() && text && length > 0) {
            m_text.append(text, size_t(length));
            if (m_text.size() >= kTextPiece)
                PassText(true);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ignorableWhitespace(const wchar_t*, int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE processingInstruction(const wchar_t*, int, const wchar_t*,
                                                    int) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE skippedEntity(const wchar_t*, int) override { return S_OK; }

  private:
    // Text may reach us in pieces cut anywhere; a piece never ends inside a surrogate pair.
    void PassText(bool keepOpenPair = false) {
        size_t length = m_text.size();
        if (keepOpenPair && length > 0 && IS_HIGH_SURROGATE(m_text[length - 1]))
            --length;
        if (length > 0)
            m_collector.Text(WideToUtf8(m_text.data(), length));
        m_text.erase(0, length);
    }

    PlacemarkCollector& m_collector;
    std::wstring m_text;
    std::string m_uri;
    std::string m_name;
};

class ErrorHandler : public StackObject<ISAXErrorHandler> {
  public:
    ErrorHandler() : StackObject(kErrorHandlerInterface) {}

    HRESULT STDMETHODCALLTYPE error(ISAXLocator* locator, const wchar_t* message,
                                    HRESULT code) override {
        return Stop(locator, message, code);
    }
    HRESULT STDMETHODCALLTYPE fatalError(ISAXLocator* locator, const wchar_t* message,
                                         HRESULT code) override {
        return Stop(locator, message, code);
    }
    HRESULT STDMETHODCALLTYPE ignorableWarning(ISAXLocator*, const wchar_t*, HRESULT) override {
        return S_OK;
    }

    bool stopped = false;
    int line = 0;
    std::string reason;

  private:
    // The first error is the one reported; the parse stops there.
    HRESULT Stop(ISAXLocator* locator, const wchar_t* message, HRESULT code) {
        if (!stopped) {
            stopped = true;
            int number = 0;
            if (locator && SUCCEEDED(locator->getLineNumber(&number)) && number > 0)
                line = number;
            reason = WideToAnsi(message);
        }
        return FAILED(code) ? code : E_FAIL;
    }

    static std::string WideToAnsi(const wchar_t* text) {
        if (!text)
            return std::string();
        const int length = int(wcsnlen(text, 1024));
        // Asked for first: a code page such as UTF-8 takes up to three bytes per unit.
        const int size =
            ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
        std::string ansi(size_t(size > 0 ? size : 0), '\0');
        const int written = ::WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(),
                                                  int(ansi.size()), nullptr, nullptr);
        ansi.resize(written > 0 ? size_t(written) : 0);
        while (!ansi.empty() && static_cast<unsigned char>(ansi.back()) <= ' ')
            ansi.pop_back();
        return ansi;
    }
};

// COM for the time of one read, on this thread, in whatever mode it already has.
class ComScope {
  public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        // S_FALSE too: every successful call is matched, and only those.
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return m_result; }

  private:
    HRESULT m_result;
};

struct ReleaseInterface {
    void operator()(IUnknown* object) const { object->Release(); }
};

void SetReaderFeatures(ISAXXMLReader* reader) {
    // Whatever a reader does not know is left to its defaults: the prolog check has refused
    // every document type already, so no entity or external file can be declared.
    reader->putFeature(L"prohibit-dtd", VARIANT_TRUE);
    reader->putFeature(L"http://xml.org/sax/features/external-general-entities", VARIANT_FALSE);
    reader->putFeature(L"http://xml.org/sax/features/external-parameter-entities", VARIANT_FALSE);
    VARIANT depth;
    ::VariantInit(&depth);
    depth.vt = VT_I4;
    depth.lVal = 256;
    reader->putProperty(L"max-element-depth", depth);
}

void Parse(const std::string& document, KmlReadResult& result) {
    ComScope com;
    if (!com.Usable()) {
        result.status = KmlReadStatus::ReaderUnavailable;
        result.error = uint32_t(com.Result());
        return;
    }
    ISAXXMLReader* created = nullptr;
    HRESULT hr = ::CoCreateInstance(kSaxReaderClass, nullptr, CLSCTX_INPROC_SERVER,
                                    kSaxReaderInterface, reinterpret_cast<void**>(&created));
    if (FAILED(hr) || !created) {
        result.status = KmlReadStatus::ReaderUnavailable;
        result.error = uint32_t(hr);
        return;
    }

    PlacemarkCollector collector;
    ContentHandler content(collector);
    ErrorHandler errors;
    {
        std::unique_ptr<ISAXXMLReader, ReleaseInterface> reader(created);
        SetReaderFeatures(reader.get());
        hr = reader->putContentHandler(&content);
        if (SUCCEEDED(hr))
            hr = reader->putErrorHandler(&errors);
        if (FAILED(hr)) {
            result.status = KmlReadStatus::ReaderUnavailable;
            result.error = uint32_t(hr);
            return;
        }
        // From memory, as one array of bytes: the reader detects the encoding itself, and does
        // not read the file a second time. A line end follows the document: MSXML under Wine
        // leaves out an array's last byte, which would otherwise be the closing '>' of a file
        // that has no line end of its own; after the document, white space is no content.
        const XmlUnits units = DetectXmlUnits(document);
        const std::string lineEnd = units.width == 1  ? std::string("\n")
                                    : units.bigEndian ? std::string("\0\n", 2)
                                                      : std::string("\n\0", 2);
        SAFEARRAY* bytes =
            ::SafeArrayCreateVector(VT_UI1, 0, ULONG(document.size() + lineEnd.size()));
        void* data = nullptr;
        if (!bytes || FAILED(::SafeArrayAccessData(bytes, &data))) {
            if (bytes)
                ::SafeArrayDestroy(bytes);
            result.status = KmlReadStatus::OutOfMemory;
            result.error = ERROR_NOT_ENOUGH_MEMORY;
            return;
        }
        std::memcpy(data, document.data(), document.size());
        std::memcpy(static_cast<char*>(data) + document.size(), lineEnd.data(), lineEnd.size());
        ::SafeArrayUnaccessData(bytes);
        VARIANT input;
        ::VariantInit(&input);
        input.vt = VT_ARRAY | VT_UI1;
        input.parray = bytes;
        hr = reader->parse(input);
        ::VariantClear(&input);
        // The reader lets go of the handlers here, before they go.
        reader->putContentHandler(nullptr);
        reader->putErrorHandler(nullptr);
    }
    // What was collected counts only when the whole document was read.
    if (hr != S_OK || errors.stopped) {
        result.status = KmlReadStatus::Unparsable;
        result.line = errors.line;
        result.reason = errors.reason;
        result.error = uint32_t(hr);
        return;
    }
    result.status = KmlReadStatus::Read;
    result.points = collector.Finish();
}

}  // namespace

KmlReadResult ReadKmlFile(const std::string& path) {
    KmlReadResult result;
    std::string bytes;
    switch (ReadFileBytes(path, kml::kMaxFileBytes, bytes)) {
        case FileReadStatus::Read:
            break;
        case FileReadStatus::TooLarge:
            result.status = KmlReadStatus::TooLarge;
            return result;
        case FileReadStatus::Failed:
            result.status = KmlReadStatus::CannotOpen;
            result.error = ::GetLastError();
            return result;
    }
    result.status = PrepareKmlDocument(bytes);
    if (result.status == KmlReadStatus::OutOfMemory)
        result.error = ERROR_NOT_ENOUGH_MEMORY;
    if (result.status == KmlReadStatus::Read)
        Parse(bytes, result);
    return result;
}
