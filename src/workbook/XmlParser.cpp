#include "XmlParser.h"

#include "ReadFailure.h"
#include "ZipArchive.h"

#include <exception>
#include <expat.h>
#include <memory>

namespace workbook {

namespace {

// Between a namespace URI and a local name in expat's names; expat refuses a URI that holds it.
constexpr char namespaceSeparator = '\n';

XmlName splitName(std::string_view name)
{
    const std::size_t separator = name.find(namespaceSeparator);
    if (separator == std::string_view::npos)
        return {{}, name};
    return {name.substr(0, separator), name.substr(separator + 1)};
}

struct ParserFree
{
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// Runs the handler for expat. An exception must not unwind through expat's C frames: it is kept, the
// parser stopped, and the exception thrown again once expat has returned.
class Session
{
public:
    explicit Session(XmlHandler &handler)
        : handler(handler), parser(XML_ParserCreateNS(nullptr, namespaceSeparator))
    {
        if (!parser)
            throw std::bad_alloc();
        XML_SetUserData(parser.get(), this);
        XML_SetElementHandler(parser.get(), &Session::start, &Session::end);
        XML_SetCharacterDataHandler(parser.get(), &Session::text);
        XML_SetStartDoctypeDeclHandler(parser.get(), &Session::doctype);
    }

    // False when the XML is not well-formed or has a DTD; throws what the handler threw.
    bool feed(std::string_view chunk, bool last)
    {
        const XML_Status status = XML_Parse(parser.get(), chunk.data(), static_cast<int>(chunk.size()),
                                            last ? XML_TRUE : XML_FALSE);
        if (failure)
            std::rethrow_exception(failure);
        return status == XML_STATUS_OK;
    }

private:
    template <typename Call> static void guarded(void *data, Call call)
    {
        auto *session = static_cast<Session *>(data);
        if (session->failure)
            return;
        try {
            call(session->handler);
        } catch (...) {
            session->failure = std::current_exception();
            XML_StopParser(session->parser.get(), XML_FALSE);
        }
    }

    static void start(void *data, const XML_Char *name, const XML_Char **attributes)
    {
        guarded(data, [&](XmlHandler &handler) {
            handler.startElement(splitName(name), XmlAttributes(attributes));
        });
    }

    static void end(void *data, const XML_Char *name)
    {
        guarded(data, [&](XmlHandler &handler) { handler.endElement(splitName(name)); });
    }

    static void text(void *data, const XML_Char *text, int length)
    {
        guarded(data, [&](XmlHandler &handler) {
            handler.characters({text, static_cast<std::size_t>(length)});
        });
    }

    static void doctype(void *data, const XML_Char *, const XML_Char *, const XML_Char *, int)
    {
        XML_StopParser(static_cast<Session *>(data)->parser.get(), XML_FALSE);
    }

    XmlHandler &handler;
    std::unique_ptr<XML_ParserStruct, ParserFree> parser;
    std::exception_ptr failure;
};

} // namespace

std::optional<std::string_view> XmlAttributes::value(XmlName name) const
{
    for (const char **pair = pairs; *pair; pair += 2) {
        if (splitName(*pair) == name)
            return pair[1];
    }
    return std::nullopt;
}

void parseXmlPart(const ZipArchive &archive, const std::string &part, XmlHandler &handler)
{
    Session session(handler);
    archive.read(part, [&](std::string_view chunk) {
        if (!session.feed(chunk, false))
            throw ReadFailure::inPart(Fault::DamagedPart, part);
    });
    if (!session.feed({}, true))
        throw ReadFailure::inPart(Fault::DamagedPart, part);
}

} // namespace workbook
